// OrvexServices: the service program (see services/service_module.h).
#include "services/service_module.h"

int main(int argc, char **argv)
{
    return services::ServiceModule().Main(argc, argv);
}
