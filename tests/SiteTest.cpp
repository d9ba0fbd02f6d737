// The web site: hostile names escaped on every page, links that lead somewhere, colour runs,
// and the folder replaced whole or not at all.
#include "site/WebSite.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>

#include "TestSupport.h"
#include "base/AtomicFile.h"
#include "report/HtmlText.h"
#include "site/SiteText.h"
#include "stats/JsonExport.h"

namespace vexor {
namespace {

namespace fs = std::filesystem;

// Every file of a folder, by its path relative to the folder.
std::map<std::string, std::string> FilesOf(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    files[fs::relative(entry.path(), folder).generic_string()] =
        test::ReadFile(entry.path().string());
  }
  return files;
}

class SiteTest : public test::LoadFixture, public ::testing::Test {
 protected:
  // A load whose players and map are named to break pages.
  void LoadHostileNames() {
    ASSERT_TRUE(LoadText(test::Lines({
        test::InitGame("0:00", "<img src=x onerror=alert(1)>"),
        test::Connect("0:00", 1, "^1<script>alert(1)</script>"),
        test::Connect("0:00", 2, "\"><b>&amp;'"),
        test::Connect("0:00", 3, "Caf\xE9\x01"),
        test::Connect("0:00", 4, "^4Dee"),
        test::At("0:10", "Kill: 1 2 7: x killed y by MOD_ROCKET_SPLASH"),
        test::At("0:20", "Kill: 2 3 10: x killed y by MOD_RAILGUN"),
        test::At("0:30", "Kill: 3 1 10: x killed y by MOD_RAILGUN"),
        test::At("0:40", "Kill: 4 4 7: x killed x by MOD_ROCKET_SPLASH"),
        test::At("5:00", "ShutdownGame:"),
    })));
    // A name of colour codes alone (possible in an edited data file) has no text to show.
    doc.players[4].rawName = "^7^2";
  }
  std::string Site() { return folder.File("site"); }
};

TEST(ColourRunTest, SplitsNamesAtColourCodes) {
  struct Case {
    const char* name;
    const char* runs;  // colour:text|...
    const char* html;  // as the site writes it
  };
  const Case cases[] = {
      {"Bob", "0:Bob|", "Bob"},
      {"^1Red^2Green", "0:|1:Red|2:Green|",
       "<span class=\"c1\">Red</span><span class=\"c2\">Green</span>"},
      {"a^1^2b^", "0:a|2:b^|", "a<span class=\"c2\">b^</span>"},
      {"^0x^8^1", "0:^0x^8|", "^0x^8"},
      {"^3<i>", "0:|3:<i>|", "<span class=\"c3\">&lt;i&gt;</span>"},
      {"", "0:|", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string runs;
    ForEachColourRun(c.name, [&](int colour, std::string_view text) {
      runs += std::to_string(colour) + ":" + std::string(text) + "|";
    });
    EXPECT_EQ(runs, c.runs);
    std::string html;
    AppendColouredName(&html, c.name);
    EXPECT_EQ(html, c.html);
  }
  EXPECT_EQ(HtmlText("\"&'<>\xE9\x7F"), "&quot;&amp;&#39;&lt;&gt;\xC3\xA9\xEF\xBF\xBD");
  EXPECT_EQ(HtmlText("Zo\xC3\xAB"), "Zo\xC3\xAB");
}

TEST_F(SiteTest, HostileNamesAreEscapedOnEveryPage) {
  LoadHostileNames();
  std::string error;
  ASSERT_TRUE(WriteWebSite(doc, Site(), {}, &error)) << error;
  std::map<std::string, std::string> files = FilesOf(Site());
  EXPECT_EQ(files.size(), 6u + 4u + 1u);  // assets, marker, 3 lists, 4 players, 1 game
  const std::regex tag("<([a-zA-Z][a-zA-Z0-9]*)");
  const std::set<std::string> ours = {
      "html",       "head",  "meta", "title", "link",     "script",  "body",   "a",
      "header",     "nav",   "ul",   "li",    "main",     "h1",      "h2",     "section",
      "dl",         "dt",    "dd",   "div",   "table",    "caption", "thead",  "tbody",
      "tr",         "th",    "td",   "span",  "p",        "footer",  "figure", "svg",
      "title",      "desc",  "text", "rect",  "polyline", "polygon", "path",   "circle",
      "figcaption", "label", "input"};
  for (const auto& [name, text] : files) {
    if (name.size() < 5 || name.substr(name.size() - 5) != ".html") continue;
    SCOPED_TRACE(name);
    EXPECT_TRUE(IsValidUtf8(text));
    for (auto it = std::sregex_iterator(text.begin(), text.end(), tag);
         it != std::sregex_iterator(); ++it) {
      EXPECT_EQ(ours.count((*it)[1]), 1u) << (*it)[0];
    }
    EXPECT_EQ(text.find("<script>"), std::string::npos);
    EXPECT_EQ(text.find("<b>"), std::string::npos);
    EXPECT_EQ(text.find('\x01'), std::string::npos);
  }
  const std::string& players = files["players.html"];
  EXPECT_NE(players.find("<span class=\"c1\">&lt;script&gt;alert(1)&lt;/script&gt;</span>"),
            std::string::npos);
  EXPECT_NE(players.find("&quot;&gt;&lt;b&gt;&amp;amp;&#39;"), std::string::npos);
  EXPECT_NE(players.find("Caf\xC3\xA9\xEF\xBF\xBD"), std::string::npos);
  EXPECT_NE(players.find(">Player 4</a>"), std::string::npos);  // a name of colour codes only
  EXPECT_NE(files["games/g1.html"].find("&lt;img src=x onerror=alert(1)&gt;"), std::string::npos);
}

TEST_F(SiteTest, EveryLinkLeadsToAFileOfTheSiteOrTheReportBesideIt) {
  LoadHostileNames();
  std::string report = folder.File("html");
  fs::create_directories(report + "/games");
  test::TempFolder elsewhere;
  std::string error;
  for (const std::string& reportFolder : {report, elsewhere.Path()}) {
    ASSERT_TRUE(WriteWebSite(doc, Site(), {reportFolder}, &error)) << error;
    std::map<std::string, std::string> files = FilesOf(Site());
    const std::regex link("(href|src)=\"([^\"]*)\"");
    int reportLinks = 0;
    for (const auto& [name, text] : files) {
      for (auto it = std::sregex_iterator(text.begin(), text.end(), link);
           it != std::sregex_iterator(); ++it) {
        std::string target = (*it)[2];
        ASSERT_FALSE(target.empty()) << name;
        if (target[0] == '#') continue;  // a place on the page itself
        fs::path resolved = (fs::path(Site()) / name).parent_path() / target;
        std::string relative = fs::relative(resolved, Site()).generic_string();
        if (relative.rfind("../html/games/game", 0) == 0) {
          ++reportLinks;
          continue;
        }
        EXPECT_EQ(files.count(relative), 1u) << name << " links to " << target;
      }
    }
    // The games page and the game page link the report only when it lies beside the site.
    EXPECT_EQ(reportLinks, reportFolder == report ? 2 : 0);
  }
}

TEST_F(SiteTest, OnlyAnEmptyFolderOrAnEarlierSiteIsReplaced) {
  LoadHostileNames();
  struct Case {
    const char* what;
    std::function<void(const std::string&)> prepare;
    bool written;
  };
  const Case cases[] = {
      {"missing", [](const std::string&) {}, true},
      {"empty", [](const std::string& f) { fs::create_directories(f); }, true},
      {"earlier site",
       [](const std::string& f) {
         fs::create_directories(f);
         std::ofstream(f + "/" + kSiteMarkerFile) << "x";
         std::ofstream(f + "/stale.html") << "old";
       },
       true},
      {"someone's folder",
       [](const std::string& f) {
         fs::create_directories(f);
         std::ofstream(f + "/thesis.tex") << "mine";
       },
       false},
      {"a file", [](const std::string& f) { std::ofstream(f) << "mine"; }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::TempFolder parent;
    std::string target = parent.File("stats");
    c.prepare(target);
    std::string error;
    EXPECT_EQ(WriteWebSite(doc, target, {}, &error), c.written) << error;
    if (c.written) {
      EXPECT_TRUE(fs::exists(target + "/index.html"));
      EXPECT_FALSE(fs::exists(target + "/stale.html"));
    } else {
      EXPECT_NE(error.find(target), std::string::npos) << error;
      EXPECT_EQ(test::ReadFile(fs::is_directory(target) ? target + "/thesis.tex" : target), "mine");
    }
    // Nothing is left beside the target: no temporary folder, no old site.
    EXPECT_EQ(std::distance(fs::directory_iterator(parent.Path()), {}), 1);
  }
}

TEST_F(SiteTest, AFailedWriteLeavesTheEarlierSiteWhole) {
  LoadHostileNames();
  std::string error;
  ASSERT_TRUE(WriteWebSite(doc, Site(), {}, &error)) << error;
  std::map<std::string, std::string> before = FilesOf(Site());
  int64_t lastDone = 0;
  int64_t count = 0;
  SetWriteFaultForTesting(WriteFault{false, 20000, ""});  // the disk fills up half-way
  bool written = WriteWebSite(doc, Site(), {}, &error, [&](int64_t done, int64_t total) {
    lastDone = done;
    count = total;
  });
  SetWriteFaultForTesting(WriteFault{});
  EXPECT_FALSE(written);
  EXPECT_NE(error.find("The web site was not written: "), std::string::npos) << error;
  EXPECT_EQ(lastDone, count);  // every file was made; the writing failed
  EXPECT_EQ(FilesOf(Site()), before);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), {}), 2);  // log and site
}

}  // namespace
}  // namespace vexor
