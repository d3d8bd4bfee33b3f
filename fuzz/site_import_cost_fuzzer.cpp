// What a site file costs libxml2, against what the import admits it for.
//
// Input: the file. Every allocation libxml2 makes goes through counting hooks (xmlMemSetup), which
// keep the bytes outstanding and their peak. Checked:
// - the parse that the import runs (CheckSiteText, which builds the tree and frees it) never takes
//   more than a fixed multiple of what its admission weighed the file at, and a small allowance
//   for the parser's own state and input: a kind of node that libxml2 spends more on than the
//   admission weighs it at is found here, at any size of file;
// - the import itself (ImportSite of "Default", through the store) never takes more than a fixed
//   multiple of the budget for the file's size, whether the file is admitted or refused;
// - a file that CheckSiteText admits, ImportSite admits as well (the same parse decides both).

#include "fuzz_support.h"

#include "configstore/orvex_config.h"
#include "configstore/site_file_admission.h"
#include "configstore/tests/libxml_memory.h"
#include "configstore/xml_file.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <algorithm>
#include <cstdio>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace configstore;

namespace {

// libxml2's memory, counted from before libxml2 allocates anything until the process ends.
testing_support::LibxmlMemory *memory = nullptr;

// What libxml2 spends beyond what it builds: the parser's context, tables and dictionary, its
// buffers of input (the file is read and decoded in chunks, and a token is held whole while it is
// read: a long comment, name or attribute value), and the buffer of a long text node, which grows
// by doubling. Measured on the empty site, it is about 40 KB.
constexpr std::uint64_t kParserAllowance = 64U << 10U;
constexpr std::uint64_t kInputBytesFactor = 4;
// The tree's real cost may exceed its weight by this much (the weight rounds as glibc does, but
// not every allocation libxml2 makes for a node is weighed).
constexpr std::uint64_t kWeightFactor = 2;
// The import's peak against the budget: the file's parse and the store's document together.
constexpr std::uint64_t kBudgetFactor = 2;

// The largest shares of their bounds that the parse's and the import's peaks took, and the
// largest parse peak over its weight where the weight is past 1 MB (where the nodes outweigh the
// parser's own state), reported when the run ends.
double worstParseShare = 0;
double worstImportShare = 0;
double worstOverWeight = 0;

void reportWorst()
{
    std::fprintf(stderr,
                 "site_import_cost: largest parse peak %.3f of its bound, largest import peak %.4f of its "
                 "bound, largest parse peak over a weight past 1 MB %.3f\n",
                 worstParseShare, worstImportShare, worstOverWeight);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Before libxml2 allocates anything.
    memory = new testing_support::LibxmlMemory;
    xmlInitParser();
    ::setenv("ORVEX_INSTALL_DIR", fuzz::ScratchFolder().c_str(), 1);
    std::atexit(reportWorst);
    // What libxml2 sets up for good at its first parse on a thread is no input's.
    std::string failure;
    (void)CheckSiteText("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><CONFIG/>", &failure);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);

    // libxml2 keeps a copy of the last error of the thread until the next one replaces it.
    xmlResetLastError();
    memory->resetPeak();
    const std::int64_t beforeCheck = memory->growth();
    std::string failure;
    std::uint64_t weight = 0;
    const HRESULT checked = CheckSiteText(text, &failure, &weight);
    const auto checkPeak = static_cast<std::uint64_t>(memory->peak() - beforeCheck);
    xmlResetLastError();
    FUZZ_CHECK(memory->growth() == beforeCheck, "the check frees all that the parse made");
    const std::uint64_t parseBound = kParserAllowance + kInputBytesFactor * size + kWeightFactor * weight;
    FUZZ_CHECK(checkPeak <= parseBound, "libxml2 takes no more than the admission weighed the file at");
    worstParseShare = std::max(worstParseShare, static_cast<double>(checkPeak) / static_cast<double>(parseBound));
    if (weight >= 1U << 20U)
        worstOverWeight = std::max(worstOverWeight, static_cast<double>(checkPeak) / static_cast<double>(weight));

    const std::string file = (fuzz::ScratchFolder() / "site.ovx").string();
    fuzz::WriteFile(file, data, size);
    OrvexConfig config;
    FUZZ_CHECK(config.LoadAndParse() == S_OK, "the store starts");
    const std::string name = "Default";
    memory->resetPeak();
    const std::int64_t beforeImport = memory->growth();
    const HRESULT imported = config.ImportSite(&name, &file);
    const std::uint64_t importBound = kBudgetFactor * SiteFileAdmission::budget(size);
    const auto importPeak = static_cast<std::uint64_t>(memory->peak() - beforeImport);
    FUZZ_CHECK(importPeak <= importBound, "no file, admitted or refused, takes libxml2 more than its budget allows");
    worstImportShare = std::max(worstImportShare, static_cast<double>(importPeak) / static_cast<double>(importBound));
    if (checked == S_OK)
        FUZZ_CHECK(imported == S_OK || imported == STG_E_FILENOTFOUND || imported == E_FAIL,
                   "a file the check admits, the import admits");
    return 0;
}
