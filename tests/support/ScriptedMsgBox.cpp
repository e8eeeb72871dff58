#include "ScriptedMsgBox.h"

#include <QTest>

ScriptedMsgBox::~ScriptedMsgBox()
{
    Seam<MessageBoxes>::set(nullptr);
    if (unexpected > 0)
        qWarning("ScriptedMsgBox: %d unexpected message box(es), last: %s", unexpected,
                 qPrintable(boxes.last().title + QStringLiteral(": ") + boxes.last().text));
}

int ScriptedMsgBox::show(const QString& text, int style, const QString& title)
{
    boxes << Box{text, style, title};
    if (m_answers.isEmpty()) {
        ++unexpected;
        QTest::qFail(qPrintable(QStringLiteral("Unexpected message box \"%1\": %2").arg(title, text)), __FILE__,
                     __LINE__);
        return vbOK;
    }
    return m_answers.takeFirst();
}

QString ScriptedMsgBox::Box::shown() const
{
    static const QStringList icons{"Plain", "Critical", "Question", "Warning", "Information"};
    static const QStringList buttons{"", " OKCancel", " AbortRetryIgnore", " YesNoCancel", " YesNo", " RetryCancel"};
    const bool known = icon() <= vbInformation && (style & ~0x77) == 0 && (style & 7) < 6;
    const QString words = icons.value(icon() >> 4) + buttons.value(style & 7);
    return title + "|" + (known ? words : QString::number(style)) + "|" + text;
}
