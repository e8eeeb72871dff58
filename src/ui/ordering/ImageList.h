#pragma once

#include <QList>
#include <QObject>
#include <QPixmap>

// The vendor logos the main window can show, numbered from 1.
class ImageList : public QObject
{
    Q_OBJECT

public:
    explicit ImageList(QObject* parent = nullptr);

    int count() const;
    // The picture at a 1-based index; a null pixmap when the index is out of range.
    QPixmap picture(int index) const;

private:
    QList<QPixmap> m_pictures;
};
