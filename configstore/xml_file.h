#pragma once
// Reading site files and writing configuration files.
//
// Site files come from users, so they are parsed from their descriptor (no compressed input, no
// URLs), with no network access, no DTD loading, no external entities and no entity substitution;
// entities that a file declares are not even recorded, so no reference to one brings in text
// that SiteFileScan has not seen. libxml2's limits on depth stay on, and what it reports goes to
// the caller as text, never to stderr. Files are written UTF-8, indented, and replace the old
// file only once complete and synced (ReplaceFileContents).

#include "xml_tree.h"

#include "platform/hresult.h"

#include <libxml/dict.h>

#include <cstdint>
#include <string>

namespace configstore {

// Larger site files are refused before they are parsed, as the configuration tool's own reader
// refuses them: a site takes about ten times its file's size in memory while the service holds
// it (147 MB for a file of 14.6 MB).
inline constexpr std::uint64_t kMaxSiteFileBytes = 16U << 20U;

// S_OK and the document; STG_E_FILENOTFOUND when the file cannot be read or is no regular file
// (a folder, a device, a pipe); E_ABORT when it is not well-formed (namespace errors included),
// larger than kMaxSiteFileBytes (also when it grows past that while it is read), or refused by
// SiteFileScan. `*failure` says why in words for a trace line ("line 3: Opening and ending tag
// mismatch: SITE line 1 and CONFIG", "it is a folder"), and is left alone on success.
// Names and short values are interned into `dictionary`, the dictionary of the document that the
// nodes will move to; one file may add at most libxml2's limit for one parse (10 MB) to it.
// Runs on the caller's thread, which must be the only one using `dictionary`.
HRESULT ReadSiteFile(const std::string &path, xmlDictPtr dictionary, UniqueDoc *document,
                     std::string *failure);

// S_OK; E_FAIL when the document cannot be serialised; otherwise the errno of the failing step
// as an HRESULT (ResultFromErrno), the old file left as it was.
HRESULT WriteConfigFile(xmlDocPtr document, const std::string &path);

// Writes a file whose `CONFIG` root holds `site` alone, exactly as a document holding a deep copy
// of it would be written, without making the copy. Errors as WriteConfigFile; `*failure` then
// says why in words ("it is a folder", "it is not a plain file (a FIFO, a device or a socket)").
HRESULT WriteSiteFile(xmlNodePtr site, const std::string &path, std::string *failure);

} // namespace configstore
