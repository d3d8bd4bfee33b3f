#pragma once
// The site registry: the sites of one configuration document, kept in memory, saved whole as
// "orvexconfig.xml" in the install folder, and exchanged one site at a time with site files
// (".ovx"). Both kinds of file have a `CONFIG` root holding `SITE` elements.
//
// Call LoadAndParse first: it starts a new, empty process-wide document (no file is read) that
// every OrvexConfig object of the library shares; before it every other member gives E_FAIL. The
// document lives while an object or a view of it does.
//
// GetSite: S_OK and a live site view (missing parts of the site are added with their defaults);
//   E_INVALIDARG when no site has that name (names compare exactly, case-sensitively).
// NewSite: S_OK and the site of that name, created when there is none; E_INVALIDARG for a name
//   that no file could hold (invalid UTF-8, control characters other than tab, CR and LF, more
//   than 10,000,000 bytes).
// DeleteSite: S_OK when removed, S_FALSE when no site has that name.
// ExportSite: writes a file holding a copy of the site; E_INVALIDARG for an unknown site; a
//   write failure gives the failing call's errno as an HRESULT (a folder, a FIFO or a device in
//   the file's place is left as it is: EISDIR, EINVAL), and leaves an existing file as it was
//   (files are replaced through a synced temporary file); E_ABORT, nothing written, when
//   ImportSite would refuse the file (larger than 16 MiB, or beyond what its size allows).
// ImportSite: first deletes the site of that name here, then appends the file's site of that name.
//   STG_E_FILENOTFOUND when the file cannot be read, is no regular file or holds no such site;
//   E_ABORT when it is not well-formed XML, is larger than 16 MiB, declares anything in its
//   document type, or would cost libxml2 more than its size allows (SiteFileAdmission); E_FAIL
//   when it has no root element. In each of these the site stays deleted. Files are parsed with
//   no network access and no DTD or external entity loading.
// LastFileError: why the last ImportSite, ExportSite or SaveSite failed, in words for the caller's
//   trace ("line 3: Opening and ending tag mismatch: SITE line 1 and CONFIG", "it is a folder");
//   empty after one that succeeded, and from a store that keeps no reasons.
// LoadAndParse: S_OK; E_ACCESSDENIED when the install folder is unknown or too long for a path.
// EnumSites: S_OK, the names of the sites in document order and their number.
// SaveSite: writes the whole document to "orvexconfig.xml"; errors as ExportSite.
//
// Out pointers must be valid. Not thread-safe: one thread uses the store.

#include "interfaces/configstore/isite.h"
#include "platform/export.h"
#include "platform/hresult.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace configstore {

class ORVEX_INTERFACE IOrvexConfig
{
public:
    virtual ~IOrvexConfig() = default;

    virtual HRESULT GetSite(const std::string *siteName, std::shared_ptr<ISite> *pISite) = 0;
    virtual HRESULT NewSite(const std::string *siteName, std::shared_ptr<ISite> *pISite) = 0;
    virtual HRESULT DeleteSite(const std::string *siteName) = 0;
    virtual HRESULT ExportSite(const std::string *siteName, const std::string *fileName) = 0;
    virtual HRESULT ImportSite(const std::string *siteName, const std::string *fileName) = 0;
    virtual HRESULT LoadAndParse() = 0;
    virtual HRESULT EnumSites(std::vector<std::string> *sites, std::int32_t *count) = 0;
    virtual HRESULT SaveSite() = 0;

    [[nodiscard]] virtual std::string LastFileError() const { return {}; }
};

} // namespace configstore
