#include "rules_loader.h"

#include "wide_text.h"
#include "platform/install_folder.h"
#include "platform/regular_file.h"
#include "platform/xml_parse_errors.h"
#include "support/trace_log.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <thread>

#include <unistd.h>

namespace recorder_bridge {

namespace {

struct DocFree
{
    void operator()(xmlDoc *doc) const { xmlFreeDoc(doc); }
};
using DocPtr = std::unique_ptr<xmlDoc, DocFree>;

const char *NameOf(const xmlNode *node) { return reinterpret_cast<const char *>(node->name); }

bool NameIs(const xmlNode *node, std::string_view name)
{
    return node->type == XML_ELEMENT_NODE && std::string_view(NameOf(node)) == name;
}

std::optional<std::string> Attribute(const xmlNode *node, const char *name)
{
    xmlChar *value = xmlGetNoNsProp(node, reinterpret_cast<const xmlChar *>(name));
    if (!value)
        return std::nullopt;
    std::string text(reinterpret_cast<const char *>(value));
    xmlFree(value);
    return text;
}

// Text of nothing but blanks, as laid out between and around elements. The rules files were
// written for a DOM that drops such text on load, so a rule spread over several lines (an
// expression in a character data section on a line of its own, say) reads as it does on one,
// and only a rule with real content has a value.
bool IsLayoutBlank(const xmlNode *node)
{
    return node->type == XML_TEXT_NODE && xmlIsBlankNode(const_cast<xmlNode *>(node)) == 1
        && xmlNodeGetSpacePreserve(node) != 1;
}

const xmlNode *FirstContentChild(const xmlNode *node)
{
    const xmlNode *child = node->children;
    while (child && IsLayoutBlank(child))
        child = child->next;
    return child;
}

// The value of a rule element: the text of its first child when that child carries text of its
// own (text, character data, comment, processing instruction); empty for any other child; none
// when the element has no child at all.
std::optional<std::string> RuleValue(const xmlNode *rule)
{
    const xmlNode *first = FirstContentChild(rule);
    if (!first)
        return std::nullopt;
    switch (first->type) {
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
    case XML_COMMENT_NODE:
    case XML_PI_NODE:
        return first->content ? std::string(reinterpret_cast<const char *>(first->content)) : std::string();
    default:
        return std::string();
    }
}

// As the standard string-to-long conversion reads it: blanks, a sign, digits up to the first
// non-digit; no digits give 0. Clamped to 32 bits.
std::int32_t IndexFromText(const std::string &text)
{
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<std::int32_t>(value);
}

HRESULT ConfigurationError(HRESULT hr)
{
    support::TraceError("Parser Configuration Error: %s", DescribeResult(hr).c_str());
    return hr;
}

class RulesReader
{
public:
    explicit RulesReader(PosRules &rules) : m_rules(rules) {}

    // Reads one kind element. False when the load must stop here; `m_result` then says how.
    bool readKind(const KindSpec &spec, const xmlNode *kindElement)
    {
        KindRules &kind = m_rules.of(spec.kind);
        for (const xmlNode *rule = kindElement->children; rule; rule = rule->next) {
            if (rule->type != XML_ELEMENT_NODE)
                continue;
            const std::string_view name = NameOf(rule);
            if (name == "Expression") {
                if (!readExpression(spec, rule, "Expression", kind.expression))
                    return false;
                continue;
            }
            if (const RuleField *field = FindField(spec, name)) {
                const std::optional<std::string> value = RuleValue(rule);
                if (!value)
                    return fail(ConfigurationError(E_POINTER));
                kind.index[static_cast<std::size_t>(*field)] = IndexFromText(*value);
                support::TraceInfo("%s = %s", NameOf(rule), value->c_str());
                continue;
            }
            for (const FlagSpec &flag : spec.flags) {
                if (name == flag.elementName
                    && !readExpression(spec, rule, flag.errorName, m_rules.of(flag.flag).expression))
                    return false;
            }
        }
        return true;
    }

    [[nodiscard]] HRESULT result() const { return m_result; }

private:
    static const RuleField *FindField(const KindSpec &spec, std::string_view name)
    {
        for (const RuleField &field : spec.fields) {
            if (FieldName(field) == name)
                return &field;
        }
        return nullptr;
    }

    bool fail(HRESULT hr)
    {
        m_result = hr;
        return false;
    }

    // Compiles a rule's expression into `target`. A compile error ends the load with success:
    // the rules read so far stay usable.
    bool readExpression(const KindSpec &spec, const xmlNode *rule, std::string_view errorName,
                        std::optional<boost::wregex> &target)
    {
        const std::optional<std::string> value = RuleValue(rule);
        if (!value)
            return fail(ConfigurationError(E_POINTER));
        // An expression that does not compile leaves its kind matching nothing and its flag
        // false, also where an earlier element of the same name had compiled.
        target.reset();
        try {
            target = CompileRuleExpression(WideFromUtf8(*value));
        } catch (const std::exception &e) {
            support::TraceError("Expression Error in Expression \"%.*s\" in Section \"%.*s\": %s",
                                static_cast<int>(errorName.size()), errorName.data(),
                                static_cast<int>(spec.elementName.size()), spec.elementName.data(), e.what());
            return fail(S_OK);
        }
        if (errorName == "Expression" && spec.kind == RetailKind::QuantityModifier)
            support::TraceInfo("NumberOfLines = %s", value->c_str());
        else
            support::TraceInfo("%s = %s", NameOf(rule), value->c_str());
        return true;
    }

    PosRules &m_rules;
    HRESULT m_result = S_OK;
};

int CountChildren(const xmlNode *node)
{
    int count = 0;
    for (const xmlNode *child = node->children; child; child = child->next)
        count += IsLayoutBlank(child) ? 0 : 1;
    return count;
}

const xmlNode *FindActiveConfiguration(const xmlNode *root, const std::string &activePos, HRESULT *hr)
{
    for (const xmlNode *child = root->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE)
            continue;
        support::TraceInfo("nodename is %s", NameOf(child));
        const std::optional<std::string> name = Attribute(child, "name");
        if (!name) {
            *hr = ConfigurationError(E_POINTER);
            return nullptr;
        }
        if (*name == activePos) {
            support::TraceInfo("  Found Active POS Configuration");
            return child;
        }
    }
    *hr = E_INVALIDARG;
    return nullptr;
}

} // namespace

HRESULT LoadPosRules(const std::string &installFolder, PosRules &rules, std::chrono::milliseconds failurePause)
{
    rules.ClearConfiguration();
    if (access(installFolder.c_str(), R_OK | X_OK) != 0) {
        support::TraceError("Unable to read Install Folder %s", installFolder.c_str());
        std::this_thread::sleep_for(failurePause);
        return E_ACCESSDENIED;
    }
    const std::string path = JoinPath(installFolder, kRulesFileName);
    DocPtr doc;
    std::string reason;
    // Opened without waiting and only when it is a plain file: a FIFO in its place would hold the
    // bridge, and with it the service's start, for ever; a device would never end.
    int openError = 0;
    if (const UniqueFd fd = OpenRegularFile(path, &openError); fd.valid()) {
        const XmlParseErrors errors;
        constexpr int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
        doc.reset(xmlReadFd(fd.get(), nullptr, nullptr, options));
        reason = errors.first();
    } else {
        reason = DescribeFileError(openError);
    }
    if (!doc) {
        support::TraceError("Error Opening Master Configuration File - Cannot Open %s: %s", path.c_str(),
                            reason.empty() ? "it is not well-formed XML" : reason.c_str());
        std::this_thread::sleep_for(failurePause);
        return E_FAIL;
    }
    const xmlNode *root = xmlDocGetRootElement(doc.get());
    if (!root)
        return E_FAIL;
    const std::optional<std::string> activePos = Attribute(root, "ActivePOS");
    if (!activePos)
        return ConfigurationError(E_POINTER);
    rules.activePos = *activePos;
    support::TraceInfo("Active POS is %s", activePos->c_str());

    HRESULT hr = S_OK;
    const xmlNode *active = FindActiveConfiguration(root, *activePos, &hr);
    if (!active)
        return hr;
    const std::optional<std::string> taxInclusive = Attribute(active, "TaxInclusive");
    if (!taxInclusive)
        return ConfigurationError(E_POINTER);
    rules.taxInclusive = *taxInclusive == "Yes" ? -1 : 0;

    support::TraceInfo("Number of Subnodes is %d", CountChildren(active));
    RulesReader reader(rules);
    for (const xmlNode *child = active->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE)
            continue;
        support::TraceInfo("Found Node %s", NameOf(child));
        for (const KindSpec &spec : AllKinds()) {
            if (NameIs(child, spec.elementName) && !reader.readKind(spec, child))
                return reader.result();
        }
    }
    return S_OK;
}

} // namespace recorder_bridge
