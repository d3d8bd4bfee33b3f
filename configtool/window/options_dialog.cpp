#include "configtool/window/options_dialog.h"

#include "configtool/window/dialog_buttons.h"

#include "configtool/model/prompter.h"

#include "platform/profile_file.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <climits>

namespace configtool {

namespace {

struct TabText
{
    const char *tab;
    const char *group;
};

constexpr std::array<TabText, 6> kTabs = {{
    {"Startup", "Start at Boot Time"},
    {"Logging", "Logging Levels"},
    {"Image Capture", "Image Capture Settings"},
    {"Licence Plate Recognition", "Licence Plate Recognition Settings"},
    {"Journal Keeper", "Journal Keeper Settings"},
    {"Image Purging", "Image Purging Settings"},
}};

const QStringList &levelItems()
{
    static const QStringList items{QStringLiteral("Errors Only"), QStringLiteral("Warnings"),
                                   QStringLiteral("Debug"), QStringLiteral("Info")};
    return items;
}

// The pump events that may trigger a capture, from event number 2 on.
const QStringList &triggerItems()
{
    static const QStringList items{QStringLiteral("Nozzle Lift"), QStringLiteral("Nozzle Hung Up"),
                                   QStringLiteral("Delivery Start"),
                                   QStringLiteral("Delivery End")};
    return items;
}

constexpr int kFirstTriggerEvent = 2;

bool isCheckRule(OptionRule rule)
{
    return rule == OptionRule::CheckAtLeastOne || rule == OptionRule::CheckExactlyOne
           || rule == OptionRule::CheckNonZero || rule == OptionRule::CheckExactlyYes
           || rule == OptionRule::CheckUnlessNo;
}

QString objectNameOf(const OptionKey &key)
{
    return QString::fromLatin1(key.section) + QLatin1Char('/') + QString::fromLatin1(key.key);
}

} // namespace

OptionsDialog::OptionsDialog(QString settingsPath, Prompter &prompter, QWidget *parent)
    : QDialog(parent), m_settingsPath(std::move(settingsPath)), m_prompter(prompter)
{
    setObjectName(QStringLiteral("FrmOptions"));
    setWindowTitle(tr("Options"));
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("PageControlOptions"));

    std::array<QGridLayout *, kTabs.size()> grids{};
    for (std::size_t i = 0; i < kTabs.size(); ++i) {
        auto *page = new QWidget;
        auto *group = new QGroupBox(tr(kTabs[i].group), page);
        auto *pageLayout = new QVBoxLayout(page);
        pageLayout->addWidget(group);
        pageLayout->addStretch();
        grids[i] = new QGridLayout(group);
        grids[i]->setColumnStretch(1, 1);
        m_tabs->addTab(page, tr(kTabs[i].tab));
    }
    m_fields.reserve(kOptionKeys.size());
    for (const OptionKey &key : kOptionKeys)
        buildField(key, *grids[static_cast<std::size_t>(key.tab)]);

    const DialogButtons buttons = makeDialogButtons(*this);
    QPushButton *reset
        = buttons.box->addButton(tr("Reset to Defaults"), QDialogButtonBox::ResetRole);
    reset->setObjectName(QStringLiteral("BtnReset"));
    connect(reset, &QPushButton::clicked, this, &OptionsDialog::resetToDefaults);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons.box);
    // Every tab's caption stays in sight, without scroll arrows.
    m_tabs->setUsesScrollButtons(false);
    setFixedSize(qMax(470, m_tabs->tabBar()->sizeHint().width() + 40), 330);
}

void OptionsDialog::buildField(const OptionKey &key, QGridLayout &grid)
{
    Field field;
    field.key = &key;
    const int row = grid.rowCount();
    const QString caption = tr(key.caption);
    QWidget *group = grid.parentWidget();
    if (isCheckRule(key.rule)) {
        auto *check = new QCheckBox(caption, group);
        grid.addWidget(check, row, 0, 1, 2);
        field.control = check;
        // A click changes what the other controls may do; a load does not click.
        if (key.rule == OptionRule::CheckExactlyYes
            && std::string_view(key.key) == "ImageCaptureEnabled")
            connect(check, &QCheckBox::clicked, this, [this] {
                applyImageCaptureRule();
                applyEnablingRules();
            });
        else
            connect(check, &QCheckBox::clicked, this, &OptionsDialog::applyEnablingRules);
    } else if (key.rule == OptionRule::DatabaseOrFile) {
        auto *database = new QRadioButton(caption, group);
        auto *file = new QRadioButton(tr("Log Events to XML File"), group);
        file->setObjectName(objectNameOf(key) + QStringLiteral("/File"));
        grid.addWidget(database, row, 0, 1, 2);
        grid.addWidget(file, row + 1, 0, 1, 2);
        field.control = database;
        field.otherChoice = file;
        connect(database, &QRadioButton::clicked, this, &OptionsDialog::applyEnablingRules);
        connect(file, &QRadioButton::clicked, this, &OptionsDialog::applyEnablingRules);
    } else {
        field.label = new QLabel(caption, group);
        grid.addWidget(field.label, row, 0);
        switch (key.rule) {
        case OptionRule::LevelIndex:
        case OptionRule::TriggerEvent: {
            auto *list = new QComboBox(group);
            list->addItems(key.rule == OptionRule::LevelIndex ? levelItems() : triggerItems());
            field.control = list;
            break;
        }
        case OptionRule::Number: {
            // The sibling programs take any number; negative delays, sizes and days mean nothing.
            auto *spin = new QSpinBox(group);
            spin->setRange(0, INT_MAX);
            spin->setFixedWidth(120);
            field.control = spin;
            break;
        }
        default: {
            auto *edit = new QLineEdit(group);
            if (key.rule == OptionRule::Password) {
                edit->setEchoMode(QLineEdit::Password);
                edit->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
            }
            field.control = edit;
            break;
        }
        }
        field.label->setBuddy(field.control);
        grid.addWidget(field.control, row, 1,
                       key.rule == OptionRule::Number ? Qt::AlignLeft : Qt::Alignment());
    }
    field.control->setObjectName(objectNameOf(key));
    m_fields.push_back(field);
}

QWidget *OptionsDialog::control(std::string_view section, std::string_view key) const
{
    for (const Field &field : m_fields)
        if (field.key->section == section && field.key->key == key)
            return field.control;
    return nullptr;
}

const OptionsDialog::Field *OptionsDialog::fieldOf(std::string_view key) const
{
    for (const Field &field : m_fields)
        if (field.key->key == key)
            return &field;
    return nullptr;
}

bool OptionsDialog::isChecked(std::string_view key) const
{
    const Field *field = fieldOf(key);
    auto *button = field ? qobject_cast<QAbstractButton *>(field->control) : nullptr;
    return button != nullptr && button->isChecked();
}

void OptionsDialog::showValue(Field &field, const QString &text)
{
    const OptionRule rule = field.key->rule;
    bool isNumber = false;
    const long number = text.toLong(&isNumber);
    field.numberRead = number;
    switch (rule) {
    case OptionRule::CheckAtLeastOne:
        static_cast<QCheckBox *>(field.control)->setChecked(number >= 1);
        return;
    case OptionRule::CheckExactlyOne:
        static_cast<QCheckBox *>(field.control)->setChecked(isNumber && number == 1);
        return;
    case OptionRule::CheckNonZero:
        static_cast<QCheckBox *>(field.control)->setChecked(number != 0);
        return;
    case OptionRule::CheckExactlyYes:
        static_cast<QCheckBox *>(field.control)->setChecked(text == QLatin1String("Yes"));
        return;
    case OptionRule::CheckUnlessNo:
        static_cast<QCheckBox *>(field.control)->setChecked(text != QLatin1String("No"));
        return;
    case OptionRule::DatabaseOrFile: {
        const bool database = text == QLatin1String("Yes");
        static_cast<QRadioButton *>(field.control)->setChecked(database);
        field.otherChoice->setChecked(!database);
        return;
    }
    case OptionRule::LevelIndex:
    case OptionRule::TriggerEvent: {
        auto *list = static_cast<QComboBox *>(field.control);
        const long index = rule == OptionRule::LevelIndex ? number : number - kFirstTriggerEvent;
        // A value the list does not hold shows no item (and is written back as it was).
        list->setCurrentIndex(index >= 0 && index < list->count() ? static_cast<int>(index) : -1);
        return;
    }
    case OptionRule::Number:
        static_cast<QSpinBox *>(field.control)
            ->setValue(static_cast<int>(qBound(0L, number, long(INT_MAX))));
        return;
    case OptionRule::Text:
    case OptionRule::Password:
        static_cast<QLineEdit *>(field.control)->setText(text);
        return;
    }
}

QString OptionsDialog::fileText(const Field &field) const
{
    const auto yesNo = [](bool on) { return on ? QStringLiteral("Yes") : QStringLiteral("No"); };
    const auto oneZero = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
    switch (field.key->rule) {
    case OptionRule::CheckAtLeastOne:
    case OptionRule::CheckExactlyOne:
    case OptionRule::CheckNonZero:
        return oneZero(static_cast<QCheckBox *>(field.control)->isChecked());
    case OptionRule::CheckExactlyYes:
    case OptionRule::CheckUnlessNo:
    case OptionRule::DatabaseOrFile:
        return yesNo(static_cast<QAbstractButton *>(field.control)->isChecked());
    case OptionRule::LevelIndex:
    case OptionRule::TriggerEvent: {
        const int index = static_cast<QComboBox *>(field.control)->currentIndex();
        if (index < 0)
            return QString::number(field.numberRead);
        return QString::number(
            field.key->rule == OptionRule::LevelIndex ? index : index + kFirstTriggerEvent);
    }
    case OptionRule::Number:
        return QString::number(static_cast<QSpinBox *>(field.control)->value());
    case OptionRule::Text:
    case OptionRule::Password:
        return static_cast<QLineEdit *>(field.control)->text();
    }
    return QString();
}

void OptionsDialog::load()
{
    const ProfileFile file(m_settingsPath.toStdString());
    for (Field &field : m_fields) {
        const OptionKey &key = *field.key;
        if (isNumberRule(key.rule))
            showValue(field, QString::number(
                                 file.readInt(key.section, key.key, std::stol(key.defaultValue))));
        else
            showValue(field, QString::fromStdString(
                                 file.readString(key.section, key.key, key.defaultValue)));
    }
}

void OptionsDialog::resetToDefaults()
{
    for (Field &field : m_fields)
        showValue(field, QString::fromLatin1(field.key->defaultValue));
    applyImageCaptureRule();
    applyEnablingRules();
}

bool OptionsDialog::writeAll()
{
    ProfileFile file(m_settingsPath.toStdString());
    for (const Field &field : m_fields) {
        const OptionKey &key = *field.key;
        const std::string text = fileText(field).toStdString();
        if (!file.writeString(key.section, key.key, text)) {
            m_prompter.error(QStringLiteral("Unable to write to ") + m_settingsPath);
            return false;
        }
    }
    return true;
}

void OptionsDialog::applyImageCaptureRule()
{
    const bool capture = isChecked("ImageCaptureEnabled");
    const Field *lpr = fieldOf("LPREnabled");
    if (capture) {
        lpr->control->setEnabled(true);
        return;
    }
    auto *lprCheck = static_cast<QCheckBox *>(lpr->control);
    if (lprCheck->isChecked())
        m_prompter.warning(
            QStringLiteral("Cannot perform LPR without Image Capture.  Disabling LPR."));
    lprCheck->setChecked(false);
    lprCheck->setEnabled(false);
}

void OptionsDialog::applyEnablingRules()
{
    for (Field &field : m_fields) {
        if (field.key->enabledBy == nullptr)
            continue;
        const bool on = isChecked(field.key->enabledBy);
        field.control->setEnabled(on);
        if (field.label != nullptr)
            field.label->setEnabled(on);
    }
}

void OptionsDialog::showEvent(QShowEvent *event)
{
    m_tabs->setCurrentIndex(0);
    load();
    applyImageCaptureRule();
    applyEnablingRules();
    QDialog::showEvent(event);
}

void OptionsDialog::accept()
{
    if (!writeAll())
        return;
    m_prompter.warning(
        QStringLiteral("You must restart the computer for the changes to take effect."));
    QDialog::accept();
}

} // namespace configtool
