#pragma once
// The tool's read-only catalogue, loaded once from "OrvexMetaData.xml" of the install folder:
// device types by category with their preferred ports, protocols and camera protocols with their
// preset limits, the controller's port capabilities and the ports' requirements, dispenser
// events, and the defaults of a new site. Every editor and iterator asks it.

namespace configtool {

class OrvexMetaData
{
public:
    OrvexMetaData() = default;
};

} // namespace configtool
