#include "app/StartupLinks.h"

void RegisterWindows()
{
}
