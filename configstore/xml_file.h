#pragma once
// Reading site files and writing configuration files.
//
// Site files come from users, so they are parsed from their descriptor (no compressed input, no
// URLs), with no network access, no DTD loading, no external entities and no entity substitution,
// and held to what SiteFileAdmission admits while libxml2 builds them. Each parse interns its
// names into a dictionary of its own, freed with the parse, so nothing of a refused or failed
// import stays behind. libxml2's limits on depth and on the length of a name or a text stay on,
// and what it reports goes to the caller as text, never to stderr. Files are written UTF-8,
// indented, and replace the old file only once complete and synced (ReplaceFileContents), and
// only when the import would read them back: what the store writes, it reads.

#include "xml_tree.h"

#include "platform/hresult.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace configstore {

// Larger site files are refused before they are parsed, and never written, as the configuration
// tool's own reader refuses them: a site takes about ten times its file's size in memory while
// the service holds it (147 MB for a file of 14.6 MB).
inline constexpr std::uint64_t kMaxSiteFileBytes = 16U << 20U;

// S_OK and the document; STG_E_FILENOTFOUND when the file cannot be read or is no regular file
// (a folder, a device, a pipe); E_ABORT when it is not well-formed (namespace errors included),
// larger than kMaxSiteFileBytes (also when it grows past that while it is read), or refused by
// SiteFileAdmission. `*failure` says why in words for a trace line ("line 3: Opening and ending
// tag mismatch: SITE line 1 and CONFIG", "it is a folder"), and is left alone on success. The
// document's names are in the parse's own dictionary, which goes with the document.
HRESULT ReadSiteFile(const std::string &path, UniqueDoc *document, std::string *failure);

// Whether ReadSiteFile would admit a file of `text`: S_OK, else E_ABORT and `*failure` says why
// ("the file would be larger than 16 MiB", or the refusal of the parse). It parses the text as
// ReadSiteFile does, and frees the tree. `weight`, when given, receives what the admission
// weighed the tree at (SiteFileAdmission::cost).
HRESULT CheckSiteText(std::string_view text, std::string *failure, std::uint64_t *weight = nullptr);

// S_OK; E_FAIL when the document cannot be serialised; E_ABORT when the import would not read
// the file back (CheckSiteText); otherwise the errno of the failing step as an HRESULT
// (ResultFromErrno). On failure the old file is left as it was, and `*failure` says why in words
// ("it is a folder", "it is not a plain file (a FIFO, a device or a socket)").
HRESULT WriteConfigFile(xmlDocPtr document, const std::string &path, std::string *failure);

// Writes a file whose `CONFIG` root holds `site` alone, exactly as a document holding a deep copy
// of it would be written, without making the copy. Errors as WriteConfigFile.
HRESULT WriteSiteFile(xmlNodePtr site, const std::string &path, std::string *failure);

} // namespace configstore
