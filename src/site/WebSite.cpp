#include "site/WebSite.h"

#include <filesystem>
#include <system_error>

#include "base/FileSystem.h"
#include "base/StringPrintf.h"
#include "report/PageQueue.h"
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

// Writes the files of the site into a folder, counting them for the observer. The report's page
// queue writes them on a thread of its own while the next page is made.
class SiteWriter {
 public:
  SiteWriter(std::string folder, int64_t fileCount, const SiteObserver& onFile)
      : m_folder(std::move(folder)), m_fileCount(fileCount), m_onFile(onFile) {}

  // The buffer that the next page is built in.
  std::string* Page() {
    m_page = m_queue.SpareBlock();
    m_page.clear();
    return &m_page;
  }
  // Hands the page built in Page() (or the text) over as the file.
  void Write(const std::string& name) { Write(name, std::move(m_page)); }
  void Write(const std::string& name, std::string&& text) {
    m_queue.Open(0, JoinPath(m_folder, name));
    m_queue.Write(0, std::move(text));
    m_queue.Close(0);
    ++m_done;
    if (m_onFile) m_onFile(m_done, m_fileCount);
  }
  // Waits for every file; the first failure's message, empty when all were written.
  std::string Finish() { return m_queue.Finish(); }

 private:
  std::string m_folder;
  int64_t m_fileCount;
  const SiteObserver& m_onFile;
  int64_t m_done = 0;
  std::string m_page;
  PageQueue m_queue;
};

void WriteFiles(const SiteData& data, const SiteLinks& links, SiteWriter& writer) {
  writer.Write("site.css", kSiteStyleSheet);
  writer.Write("site.js", kSiteScript);
  writer.Write(kSiteMarkerFile, kMarkerText);
  WriteOverviewPage(data, writer.Page());
  writer.Write("index.html");
  WritePlayersPage(data, writer.Page());
  writer.Write("players.html");
  WriteGamesPage(data, links, writer.Page());
  writer.Write("games.html");
  for (int32_t p = 1; p <= data.playerCount; ++p) {
    WritePlayerPage(data, p, writer.Page());
    writer.Write(PlayerPageName(p));
  }
  for (int32_t g : data.listedGames) {
    WriteGamePage(data, links, g, writer.Page());
    writer.Write(GamePageName(data.ListedNumber(g)));
  }
}

bool Fail(std::string* error, std::string message) {
  if (error != nullptr) *error = std::move(message);
  return false;
}

}  // namespace

bool WriteWebSite(const VexoriumDoc& doc, const std::string& folderAsGiven,
                  const SiteOptions& options, std::string* error, const SiteObserver& onFile) {
  std::string folder = folderAsGiven;  // "stats/" is the folder stats
  while (folder.size() > 1 && folder.back() == '/')
    folder.pop_back();
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
  WriteFiles(data, links, writer);
  std::string failure = writer.Finish();
  if (!failure.empty()) {
    RemoveTree(temp);
    return Fail(error, "The web site was not written: " + failure);
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
