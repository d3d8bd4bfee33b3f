#include "configtool/model/camera_type_state.h"

namespace configtool {

void CameraTypeState::set(int protocolId)
{
    m_value = protocolId;
    emit changed(m_value);
}

} // namespace configtool
