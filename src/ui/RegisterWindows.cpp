#include "app/StartupLinks.h"
#include "ui/account/AccountWindows.h"

void RegisterWindows()
{
    RegisterAccountWindows();
}
