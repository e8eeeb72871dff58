#include "host/clsAddress.h"

std::shared_ptr<clsParsedStreet> clsAddress::ParsedStreet() const
{
    if (!m_ParsedStreet)
        m_ParsedStreet = std::make_shared<clsParsedStreet>();
    return m_ParsedStreet;
}
