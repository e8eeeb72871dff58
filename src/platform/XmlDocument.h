#pragma once

#include <QDomDocument>
#include <QDomElement>
#include <QList>
#include <QString>

#include <optional>

// One element of an XmlDocument.
class XmlNode
{
public:
    explicit XmlNode(QDomElement element) : m_element(std::move(element)) {}

    // The element's name without a namespace prefix.
    QString baseName() const;
    // The attribute's value, or nothing when the element has no attribute of that name.
    std::optional<QString> attribute(const QString& name) const;
    // The text content of the element and its descendants, entities resolved, white space kept.
    QString text() const { return m_element.text(); }

private:
    QDomElement m_element;
};

// A small XML document read from text. Text that is not well-formed loads as an empty
// document; that is not a failure.
class XmlDocument
{
public:
    // False (and an empty document) when text is not well-formed.
    bool loadXML(const QString& text);

    // The element children of every element named parentName, in document order
    // (the nodes "//parentName/*").
    QList<XmlNode> childrenOf(const QString& parentName) const;

private:
    QDomDocument m_doc;
};
