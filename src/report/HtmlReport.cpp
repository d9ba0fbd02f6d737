#include "report/HtmlReport.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include "base/FileSystem.h"
#include "base/StringPrintf.h"
#include "report/HtmlPageWriter.h"
#include "stats/VexoriumDoc.h"

namespace vexor {
namespace {

constexpr int32_t kGamesPerIndexPage = 100;

// Writes the pages of one report and remembers the first failure.
class ReportRun {
 public:
  ReportRun(const VexoriumDoc& doc, const std::string& folder, const ReportGameObserver& onGame,
            ReportWriting writing)
      : m_doc(doc),
        m_followed(writing == ReportWriting::kFollowed),
        m_folder(folder),
        m_gamesFolder(JoinPath(folder, "games")),
        m_writer(doc),
        m_onGame(onGame),
        m_index(m_disk, 0),
        m_page(m_disk, 1) {
    // Written again at every update: the pages that did not change are left as they are.
    if (m_followed) m_disk.KeepUnchangedPages();
  }

  bool Write();
  const std::string& Error() const { return m_error; }
  // A followed log's report: removes the pages past those Write wrote.
  void Prune() const;

 private:
  void StartIndexPage(int32_t page);
  void FinishIndexPage();
  void WriteGame(int32_t game, int32_t displayNumber);
  void WriteGamePage(int32_t game, int32_t displayNumber);
  // A followed log's game pages, newest first.
  void WriteGamePagesNewestFirst(int32_t games);
  // Keeps the first failure: the games folder's, then the pages' (from m_disk, once it has
  // written them all).
  void Note(const std::string& error) {
    if (m_error.empty()) m_error = error;
  }

  const VexoriumDoc& m_doc;
  bool m_followed;
  std::string m_folder;
  std::string m_gamesFolder;
  HtmlPageWriter m_writer;
  const ReportGameObserver& m_onGame;
  PageQueue m_disk;  // writes the pages while the next ones are made
  HtmlFile m_index;
  HtmlFile m_page;
  std::string m_error;
  int32_t m_indexPages = 0;
  int32_t m_gamePages = 0;
};

// Removes the files of the folder named prefix + N + ".htm", N written as the report writes it
// (decimal digits without a leading zero), whose N is first or more. Nothing else is touched.
void RemovePagesFrom(const std::string& folder, std::string_view prefix, int32_t first) {
  namespace fs = std::filesystem;
  std::error_code error;
  std::vector<fs::path> past;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::string name = it->path().filename().string();
    if (!name.starts_with(prefix) || !name.ends_with(".htm")) continue;
    std::string_view digits = std::string_view(name).substr(prefix.size());
    digits.remove_suffix(4);
    bool number = !digits.empty() && digits.size() <= 9 && digits[0] != '0' &&
                  std::ranges::all_of(digits, [](char c) { return c >= '0' && c <= '9'; });
    if (number && std::stoi(std::string(digits)) >= first) past.push_back(it->path());
  }
  for (const fs::path& page : past)
    fs::remove(page, error);
}

bool ReportRun::Write() {
  if (!CreateFolder(m_gamesFolder)) {
    Note(StringPrintf("The folder \"%s\" cannot be created: %s", m_gamesFolder.c_str(),
                      LastSystemError().c_str()));
  }
  int32_t games = std::clamp(m_doc.gameCount, 0, VexoriumDoc::kMaxGames);
  if (m_followed) WriteGamePagesNewestFirst(games);
  StartIndexPage(0);
  int32_t listed = 0;
  int32_t pagesStarted = 1;
  for (int32_t g = 1; g <= games; ++g) {
    // Index pages are cut by listed games: a page holds listed games 1-100, 101-200, ...
    if (listed > 0 && listed % kGamesPerIndexPage == 0 &&
        listed / kGamesPerIndexPage == pagesStarted) {
      FinishIndexPage();
      StartIndexPage(pagesStarted++);
    }
    if (!m_doc.games[static_cast<size_t>(g)].shortGame) WriteGame(g, ++listed);
    if (m_onGame && !m_followed) m_onGame(g, games);
  }
  FinishIndexPage();
  m_indexPages = pagesStarted;
  m_gamePages = listed;
  // Noted after the folder's failure: without its folder every game page fails, and the
  // folder's message says why.
  Note(m_disk.Finish());
  return m_error.empty();
}

void ReportRun::StartIndexPage(int32_t page) {
  std::string name = page == 0 ? std::string("games.htm") : StringPrintf("games%d.htm", page);
  m_index.Open(JoinPath(m_folder, name));
  WritePageHeader(m_index, 0);
}

void ReportRun::FinishIndexPage() {
  WritePageFooter(m_index, m_doc.displayedGameCount, 0, FooterVariant::kServer,
                  m_doc.serverLogAbsent);
  m_index.Close();
}

void ReportRun::WriteGame(int32_t game, int32_t displayNumber) {
  m_writer.SetFile(&m_index);
  m_writer.WriteIndexEntry(game, displayNumber);
  if (!m_followed) WriteGamePage(game, displayNumber);
}

void ReportRun::WriteGamePage(int32_t game, int32_t displayNumber) {
  m_page.Open(JoinPath(m_gamesFolder, StringPrintf("game%d.htm", displayNumber)));
  m_writer.SetFile(&m_page);
  m_writer.WriteGamePage(game, displayNumber);
  m_page.Close();
  m_writer.SetFile(&m_index);
}

// Every table sets its cell tag before its first cell, so the pages come out the same in any
// order.
void ReportRun::WriteGamePagesNewestFirst(int32_t games) {
  std::vector<int32_t> listed;
  for (int32_t g = 1; g <= games; ++g) {
    if (!m_doc.games[static_cast<size_t>(g)].shortGame) listed.push_back(g);
  }
  for (size_t k = listed.size(); k-- > 0;) {
    WriteGamePage(listed[k], static_cast<int32_t>(k) + 1);
    if (m_onGame)
      m_onGame(static_cast<int32_t>(listed.size() - k), static_cast<int32_t>(listed.size()));
  }
}

}  // namespace

// Index page k is games<k>.htm (the first, games.htm, has no number); game page N is
// games/game<N>.htm.
void ReportRun::Prune() const {
  if (!m_followed) return;
  RemovePagesFrom(m_folder, "games", m_indexPages);
  RemovePagesFrom(m_gamesFolder, "game", m_gamePages + 1);
}

bool WriteHtmlReport(const VexoriumDoc& doc, const std::string& reportFolder, std::string* error,
                     const ReportGameObserver& onGame, ReportWriting writing) {
  ReportRun run(doc, reportFolder, onGame, writing);
  bool ok = run.Write();
  run.Prune();
  if (error != nullptr) *error = ok ? std::string() : run.Error();
  return ok;
}

}  // namespace vexor
