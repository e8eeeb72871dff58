#pragma once

#include <QByteArray>

class QPainter;
struct Report;

// Renders a report as a small, real PDF document: header, applicants, bureaus with their status
// and score, and the tradelines. Needs a QGuiApplication (fonts, paint engine).
class ReportPdf
{
public:
    static QByteArray render(const Report& report);

private:
    explicit ReportPdf(QPainter& painter, int pageWidth);
    void heading(const QString& text);
    void row(const QStringList& cells, const QList<int>& widths, bool bold = false);
    void text(const QString& text);
    void gap();

    QPainter& m_painter;
    int m_width;
    int m_y = 0;
};
