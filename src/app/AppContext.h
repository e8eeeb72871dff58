#pragma once

#include <QString>

#include <functional>
#include <memory>

class clsProperties;

// The one global datum: the settings object of the current run. Start-up replaces it at every
// run; everything else reaches it through Props().
clsProperties& Props();
std::shared_ptr<clsProperties> PropsPtr();
void SetProps(std::shared_ptr<clsProperties> props);

// The client version, "major.minor.revision" without leading zeros.
QString ClientVersion();
