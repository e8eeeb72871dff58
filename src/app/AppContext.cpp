#include "app/AppContext.h"

#include "app/clsProperties.h"

namespace {
std::shared_ptr<clsProperties>& current()
{
    static std::shared_ptr<clsProperties> props = std::make_shared<clsProperties>();
    return props;
}
}

clsProperties& Props()
{
    return *current();
}

std::shared_ptr<clsProperties> PropsPtr()
{
    return current();
}

void SetProps(std::shared_ptr<clsProperties> props)
{
    current() = props ? std::move(props) : std::make_shared<clsProperties>();
}

QString ClientVersion()
{
    return QStringLiteral("%1.%2.%3").arg(QUILL_VERSION_MAJOR).arg(QUILL_VERSION_MINOR).arg(QUILL_VERSION_PATCH);
}
