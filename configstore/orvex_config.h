#pragma once
// The site registry over the process-wide configuration document (see IOrvexConfig).
//
// The document and the path of "orvexconfig.xml" belong to the library, not to an object: every
// OrvexConfig of the process shares them, and LoadAndParse on any of them starts a new document.
// Each object walks the `CONFIG` root that its own last LoadAndParse created, so an object whose
// document was replaced by another object keeps working on its old document, which is no longer
// saved, as views of deleted elements do.
//
// Not thread-safe: the process uses its configuration from one thread.

#include "node_ref.h"

#include "interfaces/configstore/iorvex_config.h"

namespace configstore {

class OrvexConfig final : public IOrvexConfig
{
public:
    HRESULT GetSite(const std::string *siteName, std::shared_ptr<ISite> *pISite) override;
    HRESULT NewSite(const std::string *siteName, std::shared_ptr<ISite> *pISite) override;
    HRESULT DeleteSite(const std::string *siteName) override;
    HRESULT ExportSite(const std::string *siteName, const std::string *fileName) override;
    HRESULT ImportSite(const std::string *siteName, const std::string *fileName) override;
    HRESULT LoadAndParse() override;
    HRESULT EnumSites(std::vector<std::string> *sites, std::int32_t *count) override;
    HRESULT SaveSite() override;
    [[nodiscard]] std::string LastFileError() const override { return m_lastFileError; }

private:
    [[nodiscard]] xmlNodePtr findSite(const std::string &name) const;

    NodeRef m_root;
    std::string m_lastFileError;
};

} // namespace configstore
