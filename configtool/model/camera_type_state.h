#pragma once
// The tool's current camera type: the metadata ID of the selected camera protocol, -1 while it is
// unset. The device iterator sets it whenever it reads or writes the camera driver's protocol,
// the Camera Type dialog when the person chooses one, and the main window on its first
// activation (40 when still unset); the preset editor follows every setting, also one that
// repeats the value, by selecting its camera again for that type. Saved as [Settings]
// CameraType by the main window. User-interface thread only.

#include <QObject>

namespace configtool {

class CameraTypeState : public QObject
{
    Q_OBJECT

public:
    static constexpr int Unset = -1;

    explicit CameraTypeState(int initial = Unset, QObject *parent = nullptr)
        : QObject(parent), m_value(initial)
    {
    }

    [[nodiscard]] int value() const { return m_value; }
    [[nodiscard]] bool isSet() const { return m_value != Unset; }

    // Stores the type and tells every follower, whether or not it changed.
    void set(int protocolId);

signals:
    void changed(int protocolId);

private:
    int m_value;
};

} // namespace configtool
