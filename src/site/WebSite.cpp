#include "site/WebSite.h"

#include <filesystem>
#include <system_error>

#include "base/AtomicFile.h"
#include "base/FileSystem.h"
#include "base/StringPrintf.h"
#include "site/SiteAssets.h"
#include "site/SiteData.h"
#include "site/SitePage.h"
#include "site/SitePages.h"

namespace vexor {

const char* const kSiteMarkerFile = ".vexor-site";

namespace {

constexpr const char* kMarkerText =
    "This folder is a statistics web site written by Vexor. Vexor replaces it whole when it "
    "writes the site again.\n";

// True when nothing in the folder would be lost by replacing it: it is empty or a site of ours.
bool Replaceable(const std::string& folder) {
  std::error_code error;
  if (FileExists(JoinPath(folder, kSiteMarkerFile))) return true;
  return std::filesystem::is_empty(folder, error) && !error;
}

// Bytes outside the characters a URL path keeps as they are, percent-encoded.
std::string UrlPath(const std::string& path) {
  std::string out;
  for (char c : path) {
    auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
        (byte >= '0' && byte <= '9') || c == '/' || c == '.' || c == '-' || c == '_' || c == '~') {
      out.push_back(c);
    } else {
      StringAppendF(&out, "%%%02X", byte);
    }
  }
  return out;
}

// The report's folder as seen from the site's folder, ending in "/": only for a report beside
// the site (START/html and START/site), which is published with it. Empty for any other.
std::string ReportLink(const std::string& folder, const std::string& reportFolder) {
  if (reportFolder.empty()) return "";
  std::error_code error;
  auto site = std::filesystem::weakly_canonical(std::filesystem::absolute(folder, error), error);
  if (error) return "";
  auto report =
      std::filesystem::weakly_canonical(std::filesystem::absolute(reportFolder, error), error);
  if (error) return "";
  std::string relative = report.lexically_relative(site).generic_string();
  bool beside = relative.rfind("../", 0) == 0 && relative.find("..", 3) == std::string::npos;
  if (!beside) return "";
  return UrlPath(relative) + "/";
}

// Writes the files of the site into a folder, counting them for the observer.
class SiteWriter {
 public:
  SiteWriter(std::string folder, int64_t fileCount, const SiteObserver& onFile)
      : m_folder(std::move(folder)), m_fileCount(fileCount), m_onFile(onFile) {}

  // The buffer that the next page is built in.
  std::string* Page() {
    m_page.clear();
    return &m_page;
  }
  // Writes the page built in Page() (or the text) as the file; false after the first failure.
  bool Write(const std::string& name) { return Write(name, m_page); }
  bool Write(const std::string& name, std::string_view text) {
    if (!m_error.empty()) return false;
    AtomicFile file(/*durable=*/false, /*buffered=*/false);
    if (file.Open(JoinPath(m_folder, name))) file.Write(text);
    if (!file.Commit()) {
      m_error = file.Error();
      return false;
    }
    ++m_done;
    if (m_onFile) m_onFile(m_done, m_fileCount);
    return true;
  }
  const std::string& Error() const { return m_error; }

 private:
  std::string m_folder;
  int64_t m_fileCount;
  const SiteObserver& m_onFile;
  int64_t m_done = 0;
  std::string m_page;
  std::string m_error;
};

bool WriteFiles(const SiteData& data, const SiteLinks& links, SiteWriter& writer) {
  bool ok = writer.Write("site.css", kSiteStyleSheet) && writer.Write("site.js", kSiteScript) &&
            writer.Write(kSiteMarkerFile, kMarkerText);
  if (ok) WriteOverviewPage(data, writer.Page());
  ok = ok && writer.Write("index.html");
  if (ok) WritePlayersPage(data, writer.Page());
  ok = ok && writer.Write("players.html");
  if (ok) WriteGamesPage(data, links, writer.Page());
  ok = ok && writer.Write("games.html");
  for (int32_t p = 1; ok && p <= data.playerCount; ++p) {
    WritePlayerPage(data, p, writer.Page());
    ok = writer.Write(PlayerPageName(p));
  }
  for (int32_t g : data.listedGames) {
    if (!ok) break;
    WriteGamePage(data, links, g, writer.Page());
    ok = writer.Write(GamePageName(data.ListedNumber(g)));
  }
  return ok;
}

bool Fail(std::string* error, std::string message) {
  if (error != nullptr) *error = std::move(message);
  return false;
}

}  // namespace

bool WriteWebSite(const VexoriumDoc& doc, const std::string& folder, const SiteOptions& options,
                  std::string* error, const SiteObserver& onFile) {
  if (FileExists(folder) && !IsFolder(folder)) {
    return Fail(error, StringPrintf("The web site cannot be written: %s is a file, not a folder.",
                                    folder.c_str()));
  }
  if (IsFolder(folder) && !Replaceable(folder)) {
    return Fail(error, StringPrintf("The web site cannot be written into %s: the folder holds "
                                    "files that are not a Vexor web site. Choose an empty or a "
                                    "new folder.",
                                    folder.c_str()));
  }
  std::string parent = FolderOf(folder);
  std::string temp;
  if (!CreateFolder(parent) || !MakeTempFolderBeside(folder, &temp)) {
    return Fail(error, StringPrintf("The web site cannot be written: no folder can be made "
                                    "beside %s (%s).",
                                    folder.c_str(), LastSystemError().c_str()));
  }
  SiteData data(doc);
  SiteLinks links{ReportLink(folder, options.reportFolder)};
  const int64_t fileCount = 6 + data.playerCount + static_cast<int64_t>(data.listedGames.size());
  SiteWriter writer(temp, fileCount, onFile);
  bool ok = CreateFolder(JoinPath(temp, "players")) && CreateFolder(JoinPath(temp, "games"));
  if (!ok) {
    RemoveTree(temp);
    return Fail(error, StringPrintf("The web site cannot be written: the folders in %s cannot "
                                    "be made.",
                                    temp.c_str()));
  }
  if (!WriteFiles(data, links, writer)) {
    RemoveTree(temp);
    return Fail(error, "The web site was not written: " + writer.Error());
  }
  std::string old;
  if (!ReplaceFolder(temp, folder, &old)) {
    std::string reason = LastSystemError();
    RemoveTree(temp);
    return Fail(error, StringPrintf("The web site cannot be put in place at %s (%s).",
                                    folder.c_str(), reason.c_str()));
  }
  if (!old.empty()) RemoveTree(old);
  return true;
}

}  // namespace vexor
