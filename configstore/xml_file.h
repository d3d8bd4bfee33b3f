#pragma once
// Reading site files and writing configuration files.
//
// Site files come from users, so they are parsed from memory (no compressed input, no URLs),
// with no network access, no DTD loading, no external entities and no entity substitution;
// libxml2's limits on entity expansion and depth stay on. Files are written UTF-8, indented, and
// replace the old file only once complete and synced (ReplaceFileContents).

#include "xml_tree.h"

#include "platform/hresult.h"

#include <libxml/dict.h>

#include <string>

namespace configstore {

// S_OK and the document; STG_E_FILENOTFOUND when the file cannot be read or is no regular file
// (a folder, a device, a pipe); E_ABORT when it is not well-formed (namespace errors included) or
// larger than libxml2 can take (2 GiB).
// Names and short values are interned into `dictionary`, the dictionary of the document that the
// nodes will move to; one file may add at most libxml2's limit for one parse (10 MB) to it.
HRESULT ReadSiteFile(const std::string &path, xmlDictPtr dictionary, UniqueDoc *document);

// S_OK; E_FAIL when the document cannot be serialised; otherwise the errno of the failing step
// as an HRESULT (ResultFromErrno), the old file left as it was.
HRESULT WriteConfigFile(xmlDocPtr document, const std::string &path);

// Writes a file whose `CONFIG` root holds `site` alone, exactly as a document holding a deep copy
// of it would be written, without making the copy. Errors as WriteConfigFile.
HRESULT WriteSiteFile(xmlNodePtr site, const std::string &path);

} // namespace configstore
