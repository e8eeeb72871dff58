#include "ui/ordering/ImageList.h"

#include "ui/UiUtils.h"

ImageList::ImageList(QObject* parent) : QObject(parent)
{
    InitUiResources();
    // 1: the default vendor's logo; 2: the logo shown for any other vendor.
    m_pictures = {QPixmap(QStringLiteral(":/images/logo-vendor1.png")),
                  QPixmap(QStringLiteral(":/images/logo-vendor2.png"))};
}

int ImageList::count() const
{
    return int(m_pictures.size());
}

QPixmap ImageList::picture(int index) const
{
    if (index < 1 || index > m_pictures.size())
        return {};
    return m_pictures.at(index - 1);
}
