#pragma once
// Reading a saved file back with libxml2 alone, to check what the store wrote where.

#include <libxml/parser.h>
#include <libxml/xpath.h>

#include <memory>
#include <string>
#include <vector>

namespace configstore::testing {

class SavedFile
{
public:
    explicit SavedFile(const std::string &path)
        : m_doc(xmlReadFile(path.c_str(), nullptr, XML_PARSE_NONET), xmlFreeDoc)
    {
    }

    [[nodiscard]] bool wellFormed() const { return m_doc != nullptr; }

    // The texts of the nodes that `xpath` selects, in document order.
    [[nodiscard]] std::vector<std::string> texts(const std::string &xpath) const
    {
        return select(xpath, [](xmlNodePtr node) {
            xmlChar *text = xmlNodeGetContent(node);
            std::string result = text != nullptr ? reinterpret_cast<const char *>(text) : "";
            xmlFree(text);
            return result;
        });
    }

    // The names of the nodes that `xpath` selects, each with its NUMBER when it has one ("EVENT 3").
    [[nodiscard]] std::vector<std::string> names(const std::string &xpath) const
    {
        return select(xpath, [](xmlNodePtr node) {
            std::string result = reinterpret_cast<const char *>(node->name);
            if (xmlChar *number = xmlGetProp(node, reinterpret_cast<const xmlChar *>("NUMBER"))) {
                result += std::string(" ") + reinterpret_cast<const char *>(number);
                xmlFree(number);
            }
            return result;
        });
    }

    // The one text `xpath` selects, or "<n matches>".
    [[nodiscard]] std::string text(const std::string &xpath) const
    {
        const auto all = texts(xpath);
        if (all.size() == 1)
            return all.front();
        return std::string("<").append(std::to_string(all.size())).append(" matches>");
    }

private:
    template <class Read>
    std::vector<std::string> select(const std::string &xpath, Read read) const
    {
        std::vector<std::string> result;
        if (!m_doc)
            return result;
        std::unique_ptr<xmlXPathContext, decltype(&xmlXPathFreeContext)> context(xmlXPathNewContext(m_doc.get()),
                                                                                 xmlXPathFreeContext);
        std::unique_ptr<xmlXPathObject, decltype(&xmlXPathFreeObject)> found(
            xmlXPathEvalExpression(reinterpret_cast<const xmlChar *>(xpath.c_str()), context.get()),
            xmlXPathFreeObject);
        if (!found || found->nodesetval == nullptr)
            return result;
        for (int i = 0; i < found->nodesetval->nodeNr; ++i)
            result.push_back(read(found->nodesetval->nodeTab[i]));
        return result;
    }

    std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> m_doc;
};

} // namespace configstore::testing
