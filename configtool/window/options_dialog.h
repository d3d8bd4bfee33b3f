#pragma once
// The "Options" dialog: the suite-wide settings of "OrvexSettings.ini" that the service, the
// recorder bridge and the sibling programs read (start at boot, trace levels, image capture,
// licence plate recognition, the journal keeper's database, image purging). The keys, their
// defaults and their read and write rules are the table of option_keys.h.
//
// Every show loads the controls from the file, so values not confirmed with OK are dropped;
// OK writes every key and warns that the programs take the values only when restarted; Cancel
// and "Reset to Defaults" write nothing. User-interface thread only.

#include "configtool/window/option_keys.h"

#include <QDialog>
#include <QString>

#include <string_view>
#include <vector>

class QAbstractButton;
class QGridLayout;
class QLabel;
class QRadioButton;
class QTabWidget;

namespace configtool {

class Prompter;

class OptionsDialog : public QDialog
{
    Q_OBJECT

public:
    OptionsDialog(QString settingsPath, Prompter &prompter, QWidget *parent = nullptr);

    // The control of a key (the first radio button of a pair); null for an unknown key.
    [[nodiscard]] QWidget *control(std::string_view section, std::string_view key) const;
    [[nodiscard]] QTabWidget *tabs() const { return m_tabs; }

    // What the dialog's buttons do.
    void load();
    void resetToDefaults();
    // Writes every key; false (and an error box) when the file could not be written.
    bool writeAll();

protected:
    void showEvent(QShowEvent *event) override;
    void accept() override;

private:
    struct Field
    {
        const OptionKey *key = nullptr;
        QWidget *control = nullptr;
        QLabel *label = nullptr;
        QRadioButton *otherChoice = nullptr; // "Log Events to XML File"
        long numberRead = 0;                 // written back by a list that shows no item
    };

    void buildField(const OptionKey &key, QGridLayout &grid);
    void showValue(Field &field, const QString &fileText);
    [[nodiscard]] QString fileText(const Field &field) const;
    [[nodiscard]] bool isChecked(std::string_view key) const;
    // The first field of the key's name (the enabling keys are unique).
    [[nodiscard]] const Field *fieldOf(std::string_view key) const;

    void applyImageCaptureRule();
    void applyEnablingRules();

    QString m_settingsPath;
    Prompter &m_prompter;
    QTabWidget *m_tabs = nullptr;
    std::vector<Field> m_fields;
};

} // namespace configtool
