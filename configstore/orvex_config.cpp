#include "orvex_config.h"

#include "site.h"
#include "xml_file.h"
#include "xml_tree.h"

#include "platform/install_folder.h"
#include "platform/xml_text.h"

#include <climits>
#include <new>

namespace configstore {

namespace {

constexpr const char *kConfigFileName = "orvexconfig.xml";

// The elements of a site that the store appends items to.
constexpr const char *kCollections[] = {"PRIORITIES", "TASKS",          "INTEREST_ZONES", "CAMERAS",
                                        "POSCONFIG",  "CAMERA_PRESETS", "PRESETS"};

// The library's one document and the file it is saved to. The document belongs to the objects
// and views that use it: once the last of them has gone (the service lets go of its storage), so
// has the document, with every site in it.
struct ProcessDocument
{
    std::weak_ptr<XmlDocument> document;
    std::string path;
};

ProcessDocument &processDocument()
{
    static ProcessDocument state;
    return state;
}

xmlNodePtr appendRoot(xmlDocPtr doc)
{
    UniqueNode root = NewElement(doc, "CONFIG");
    xmlDocSetRootElement(doc, root.get());
    return root.release();
}

} // namespace

xmlNodePtr OrvexConfig::findSite(const std::string &name) const
{
    return FindByAttribute(m_root.get(), "NAME", name);
}

HRESULT OrvexConfig::GetSite(const std::string *siteName, std::shared_ptr<ISite> *pISite)
{
    if (!m_root)
        return E_FAIL;
    const xmlNodePtr site = findSite(*siteName);
    if (site == nullptr)
        return E_INVALIDARG;
    return HandOut<Site>(pISite, m_root.refer(site));
}

HRESULT OrvexConfig::NewSite(const std::string *siteName, std::shared_ptr<ISite> *pISite)
{
    if (!m_root)
        return E_FAIL;
    // A name that no file can hold would make every later export unreadable.
    if (!IsXmlText(*siteName))
        return E_INVALIDARG;
    xmlNodePtr site = findSite(*siteName);
    try {
        if (site == nullptr) {
            UniqueNode element = NewElement(m_root.get()->doc, "SITE");
            SetAttribute(element.get(), "NAME", *siteName);
            site = AppendChild(m_root.get(), std::move(element));
        }
    } catch (const std::bad_alloc &) {
        return E_FAIL;
    }
    return HandOut<Site>(pISite, m_root.refer(site));
}

HRESULT OrvexConfig::DeleteSite(const std::string *siteName)
{
    if (!m_root)
        return E_FAIL;
    const xmlNodePtr site = findSite(*siteName);
    if (site == nullptr)
        return S_FALSE;
    m_root.document()->remove(site);
    return S_OK;
}

HRESULT OrvexConfig::ExportSite(const std::string *siteName, const std::string *fileName)
{
    m_lastFileError.clear();
    if (!m_root)
        return E_FAIL;
    const xmlNodePtr site = findSite(*siteName);
    if (site == nullptr) {
        m_lastFileError = "there is no site of that name";
        return E_INVALIDARG;
    }
    return WriteSiteFile(site, *fileName, &m_lastFileError);
}

HRESULT OrvexConfig::ImportSite(const std::string *siteName, const std::string *fileName)
{
    m_lastFileError.clear();
    if (!m_root)
        return E_FAIL;
    // The site of that name goes whatever the file turns out to hold: callers rely on finding no
    // stale copy of it after a failed import. It goes once the file is parsed, not before: freed
    // first, its memory went back to the system just before the parse asked for it again
    // (measured on a large site: page faults and malloc were 60 % of the import).
    UniqueDoc loaded;
    const HRESULT readHr = ReadSiteFile(*fileName, &loaded, &m_lastFileError);
    DeleteSite(siteName);
    if (const HRESULT hr = readHr; FAILED(hr))
        return hr;
    const xmlNodePtr fileRoot = xmlDocGetRootElement(loaded.get());
    if (fileRoot == nullptr) {
        m_lastFileError = "the file has no root element";
        return E_FAIL;
    }
    const xmlNodePtr site = FindByAttribute(fileRoot, "NAME", *siteName);
    if (site == nullptr) {
        m_lastFileError = "the file holds no site of that name";
        return STG_E_FILENOTFOUND;
    }
    // Entities are never substituted (that would also load external ones), so a site that
    // refers to one is refused rather than taken with values that read wrong and export badly.
    if (!PrepareImportedSite(site, kCollections)) {
        m_lastFileError = "the site refers to an entity";
        return E_ABORT;
    }
    // Moved out of the file's document with libxml2's adoption, which re-declares the namespaces
    // the site uses from above it and takes the names into this document's dictionary, so nothing
    // of the site points into that document once it is freed.
    xmlUnlinkNode(site);
    UniqueNode moved(site);
    if (xmlDOMWrapAdoptNode(nullptr, loaded.get(), site, m_root.get()->doc, m_root.get(), 0) != 0) {
        m_lastFileError = "the site could not be taken into the document";
        return E_FAIL;
    }
    try {
        AppendChild(m_root.get(), std::move(moved));
    } catch (const std::bad_alloc &) {
        m_lastFileError = "out of memory";
        return E_FAIL;
    }
    return S_OK;
}

HRESULT OrvexConfig::LoadAndParse()
{
    ProcessDocument &process = processDocument();
    std::shared_ptr<XmlDocument> document;
    try {
        document = XmlDocument::create();
    } catch (const std::bad_alloc &) {
        return E_FAIL;
    }
    process.document = document;
    m_root = NodeRef();
    const std::string folder = InstallFolder();
    const std::string path = JoinPath(folder, kConfigFileName);
    if (folder.empty() || path.size() >= PATH_MAX)
        return E_ACCESSDENIED;
    process.path = path;
    try {
        m_root = NodeRef(document, appendRoot(document->get()));
    } catch (const std::bad_alloc &) {
        return E_FAIL;
    }
    return S_OK;
}

HRESULT OrvexConfig::EnumSites(std::vector<std::string> *sites, std::int32_t *count)
{
    if (!m_root)
        return E_FAIL;
    sites->clear();
    for (xmlNodePtr child = FirstElement(m_root.get()); child != nullptr; child = NextElement(child))
        sites->push_back(AttributeText(child, "NAME").value_or(std::string()));
    *count = static_cast<std::int32_t>(sites->size());
    return S_OK;
}

HRESULT OrvexConfig::SaveSite()
{
    m_lastFileError.clear();
    const ProcessDocument &process = processDocument();
    const std::shared_ptr<XmlDocument> document = process.document.lock();
    if (!m_root || !document)
        return E_FAIL;
    return WriteConfigFile(document->get(), process.path, &m_lastFileError);
}

} // namespace configstore
