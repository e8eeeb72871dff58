#include "platform/XmlDocument.h"

#include <QDomNodeList>
#include <QXmlStreamReader>

namespace {

// Builds the document from reader events. QDomDocument::setContent drops text nodes that
// hold only white space; a value of blanks must read back as blanks, so every character
// event is kept.
bool buildFrom(QXmlStreamReader& reader, QDomDocument& doc)
{
    // A new QDomDocument has no content until its first node is created; the document
    // becomes the parent only then.
    QDomNode current;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement: {
            QDomElement element = doc.createElement(reader.qualifiedName().toString());
            if (current.isNull())
                current = doc;
            for (const QXmlStreamAttribute& attribute : reader.attributes())
                element.setAttribute(attribute.qualifiedName().toString(), attribute.value().toString());
            current = current.appendChild(element);
            break;
        }
        case QXmlStreamReader::EndElement: current = current.parentNode(); break;
        case QXmlStreamReader::Characters:
            if (current.isElement()) {
                if (reader.isCDATA())
                    current.appendChild(doc.createCDATASection(reader.text().toString()));
                else
                    current.appendChild(doc.createTextNode(reader.text().toString()));
            }
            break;
        default: break;
        }
    }
    return !reader.hasError();
}

void collectChildrenOf(const QDomElement& element, const QString& parentName, QList<XmlNode>& out)
{
    const bool matches = XmlNode(element).baseName() == parentName;
    for (QDomElement child = element.firstChildElement(); !child.isNull(); child = child.nextSiblingElement()) {
        if (matches)
            out << XmlNode(child);
        collectChildrenOf(child, parentName, out);
    }
}

} // namespace

QString XmlNode::baseName() const
{
    const QString name = m_element.tagName();
    return name.mid(name.indexOf(QLatin1Char(':')) + 1);
}

std::optional<QString> XmlNode::attribute(const QString& name) const
{
    if (!m_element.hasAttribute(name))
        return std::nullopt;
    return m_element.attribute(name);
}

bool XmlDocument::loadXML(const QString& text)
{
    QXmlStreamReader reader(text);
    QDomDocument doc;
    if (!buildFrom(reader, doc) || doc.documentElement().isNull()) {
        m_doc = QDomDocument();
        return false;
    }
    m_doc = doc;
    return true;
}

QList<XmlNode> XmlDocument::childrenOf(const QString& parentName) const
{
    QList<XmlNode> out;
    const QDomElement root = m_doc.documentElement();
    if (!root.isNull())
        collectChildrenOf(root, parentName, out);
    return out;
}
