#include "lang/language_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace vrl {
namespace {

constexpr int kRowsBeforeNames = LanguageTable::kFirstLanguageNameRow; // 564

// The lines of a well-formed file with `languages` columns: header, rows 0 … 563 + L.
// Row r holds "r<r>l<k>" in language k; rows 0/1 fonts, rows 564 … language names.
std::vector<std::string> lines(int languages) {
    std::vector<std::string> out;
    std::string header = "Label";
    for (int k = 0; k < languages; ++k)
        header += ",Lang" + std::to_string(k);
    out.push_back(header);
    for (int row = 0; row < kRowsBeforeNames + languages; ++row) {
        std::string line = "T" + std::to_string(row);
        for (int k = 0; k < languages; ++k) {
            line += ',';
            if (row == 0) {
                line += "Face " + std::to_string(k);
            } else if (row == 1) {
                line += std::to_string(12 + k);
            } else if (row >= kRowsBeforeNames) {
                line += "Name" + std::to_string(row - kRowsBeforeNames) + "in" + std::to_string(k);
            } else {
                line += "r" + std::to_string(row) + "l" + std::to_string(k);
            }
        }
        out.push_back(line);
    }
    return out;
}

// Line index of text row `row` in the vector above.
std::size_t at(int row) {
    return static_cast<std::size_t>(row) + 1;
}

std::string join(const std::vector<std::string>& ls, const std::string& eol = "\n",
                 bool finalEol = false) {
    std::string s;
    for (std::size_t i = 0; i < ls.size(); ++i) {
        s += ls[i];
        if (i + 1 < ls.size() || finalEol) s += eol;
    }
    return s;
}

LanguageTable loaded(const std::string& bytes) {
    LanguageTable table;
    EXPECT_EQ(table.loadBytes(bytes), LanguageLoadStatus::Ok) << table.errorDetail();
    return table;
}

TEST(LanguageTable, LoadsRowsLanguagesFontsAndNames) {
    LanguageTable t = loaded(join(lines(2)));
    EXPECT_EQ(t.languageCount(), 2);
    EXPECT_EQ(t.rowCount(), 566);
    EXPECT_EQ(t.text(2), "r2l0");
    EXPECT_EQ(t.text(563, 1), "r563l1");
    EXPECT_EQ(t.font(1).face, "Face 1");
    EXPECT_EQ(t.font(1).pixelHeight, 13);
    EXPECT_EQ(t.font(2).pixelHeight, 0);
    t.setCurrentLanguage(1);
    EXPECT_EQ(t.text(2), "r2l1");
    EXPECT_EQ(t.currentFont().face, "Face 1");
    EXPECT_EQ(t.languageNames(), (std::vector<std::string>{"Name0in1", "Name1in1"}));
    EXPECT_TRUE(t.errorDetail().empty());
}

TEST(LanguageTable, OutOfRangeLookupsYieldNull) {
    LanguageTable empty;
    EXPECT_EQ(empty.text(0), "(null)");
    LanguageTable t = loaded(join(lines(2)));
    EXPECT_EQ(t.text(-1), "(null)");
    EXPECT_EQ(t.text(-7), "(null)");
    EXPECT_EQ(t.text(566), "(null)");
    EXPECT_EQ(t.text(565), "Name1in0");
    EXPECT_EQ(t.text(5, 2), "(null)");
    EXPECT_EQ(t.text(5, -1), "(null)");
}

TEST(LanguageTable, QuotingRules) {
    auto ls = lines(2);
    ls[at(10)] = "T10,\"one, two\nthree\",plain"; // comma and LF inside quotes
    ls[at(11)] = "T11,\"a\"\"b\",\"\"\"\"";       // "" is one quote
    ls[at(12)] = "T12,\"ab\"cd,x\"y,z\"w";        // quote + other char ends quoting
    ls[at(13)] = "\"label, with comma\",\"\",";   // empty quoted and empty plain texts
    LanguageTable t = loaded(join(ls));
    EXPECT_EQ(t.rowCount(), 566); // the quoted line feed is no line break
    EXPECT_EQ(t.text(10, 0), "one, two\nthree");
    EXPECT_EQ(t.text(10, 1), "plain");
    EXPECT_EQ(t.text(11, 0), "a\"b");
    EXPECT_EQ(t.text(11, 1), "\"");
    EXPECT_EQ(t.text(12, 0), "abcd");
    EXPECT_EQ(t.text(12, 1), "xy,zw");
    EXPECT_EQ(t.text(13, 0), "");
    EXPECT_EQ(t.text(13, 1), "");
    EXPECT_EQ(t.text(14, 0), "r14l0");
}

TEST(LanguageTable, BackslashTBecomesTabOnlyInMenuRows) {
    auto ls = lines(2);
    for (int row : {83, 84, 158, 159})
        ls[at(row)] = "T,&Open...\\tCtrl+O,a\\nb\\\\tc\\";
    LanguageTable t = loaded(join(ls));
    EXPECT_EQ(t.text(83, 0), "&Open...\\tCtrl+O");
    EXPECT_EQ(t.text(84, 0), "&Open...\tCtrl+O");
    EXPECT_EQ(t.text(158, 0), "&Open...\tCtrl+O");
    EXPECT_EQ(t.text(159, 0), "&Open...\\tCtrl+O");
    // Other pairs stay as written: "\n", "\\" (so "\\t" is no tab) and a lone last "\".
    EXPECT_EQ(t.text(84, 1), "a\\nb\\\\tc\\");
}

TEST(LanguageTable, RowCountRuleWithThreeLanguages) {
    const auto ls = lines(3);
    const std::string exact = join(ls);
    EXPECT_EQ(std::count(exact.begin(), exact.end(), '\n'), 567);
    LanguageTable t = loaded(exact);
    EXPECT_EQ(t.rowCount(), 567);
    EXPECT_EQ(t.rowCount() - t.languageCount(), 564);

    auto shorter = ls;
    shorter.pop_back();
    LanguageTable s;
    EXPECT_EQ(s.loadBytes(join(shorter)), LanguageLoadStatus::Damaged);
    EXPECT_NE(s.errorDetail().find("566 text rows"), std::string::npos) << s.errorDetail();
    EXPECT_NE(s.errorDetail().find("exactly 567"), std::string::npos) << s.errorDetail();

    auto longer = ls;
    longer.push_back("extra,a,b,c");
    EXPECT_EQ(s.loadBytes(join(longer)), LanguageLoadStatus::Damaged);

    std::vector<std::string> tiny(ls.begin(), ls.begin() + 100);
    EXPECT_EQ(s.loadBytes(join(tiny)), LanguageLoadStatus::Damaged);
}

TEST(LanguageTable, FinalLineFeedClosesTheLastRow) {
    const auto ls = lines(2);
    LanguageTable without = loaded(join(ls));
    LanguageTable with = loaded(join(ls, "\n", true));
    EXPECT_EQ(with.rowCount(), without.rowCount());
    EXPECT_EQ(with.text(565), "Name1in0");
    // A further empty line is an empty row with no commas.
    LanguageTable t;
    EXPECT_EQ(t.loadBytes(join(ls, "\n", true) + "\n"), LanguageLoadStatus::Damaged);
    EXPECT_NE(t.errorDetail().find("has 0 commas"), std::string::npos) << t.errorDetail();
}

TEST(LanguageTable, CarriageReturnBeforeLineFeedIsDropped) {
    auto ls = lines(2);
    ls[at(20)] = "T20,\"two\r\nlines\",lone\rcr";
    LanguageTable t = loaded(join(ls, "\r\n", true));
    EXPECT_EQ(t.rowCount(), 566);
    EXPECT_EQ(t.text(19, 1), "r19l1");
    EXPECT_EQ(t.text(20, 0), "two\nlines");
    EXPECT_EQ(t.text(20, 1), "lone\rcr"); // a CR not before LF is an ordinary byte
    EXPECT_EQ(t.font(1).pixelHeight, 13);
    EXPECT_EQ(t.text(565, 1), "Name1in1");
}

TEST(LanguageTable, ByteFFEndsTheFile) {
    const auto ls = lines(2);
    const std::string garbage = "more,rows,here\nand,\"unclosed\n";
    LanguageTable a = loaded(join(ls) + '\xFF' + garbage);
    EXPECT_EQ(a.text(565, 1), "Name1in1");
    LanguageTable b = loaded(join(ls, "\n", true) + '\xFF' + garbage);
    EXPECT_EQ(b.rowCount(), 566);
    // It ends the file inside quotes too.
    auto quoted = ls;
    quoted.back() = "T565,Name1in0,\"Name1in1\xFF\",x\nT566,a,b";
    LanguageTable c = loaded(join(quoted));
    EXPECT_EQ(c.rowCount(), 566);
    EXPECT_EQ(c.text(565, 1), "Name1in1");
}

TEST(LanguageTable, CommaCountMismatchNamesTheLine) {
    auto ls = lines(2);
    ls[at(10)] = "T0010,a,b,c";
    LanguageTable t;
    EXPECT_EQ(t.loadBytes(join(ls)), LanguageLoadStatus::Damaged);
    EXPECT_EQ(t.errorDetail(),
              "line 12 (row 10, label \"T0010\") has 3 commas outside quotes, the header has 2");
    EXPECT_FALSE(t.isLoaded());

    // A quote left open swallows the rest of the file; the detail says where it opened.
    ls = lines(2);
    ls[at(30)] = "T30,\"open,x";
    EXPECT_EQ(t.loadBytes(join(ls)), LanguageLoadStatus::Damaged);
    EXPECT_NE(t.errorDetail().find("line 32 (row 30"), std::string::npos) << t.errorDetail();
    EXPECT_NE(t.errorDetail().find("quoted text that starts on line 32"), std::string::npos)
        << t.errorDetail();
}

TEST(LanguageTable, RefusesFilesWithoutLanguagesOrRows) {
    LanguageTable t;
    EXPECT_EQ(t.loadBytes(""), LanguageLoadStatus::Damaged);
    EXPECT_EQ(t.errorDetail(), "the file is empty");
    EXPECT_EQ(t.loadBytes("\xFF"), LanguageLoadStatus::Damaged);
    EXPECT_EQ(t.loadBytes("Label,English,German\n"), LanguageLoadStatus::Damaged);
    std::string noLanguage = "Label\n";
    for (int row = 0; row < kRowsBeforeNames; ++row)
        noLanguage += "T\n";
    EXPECT_EQ(t.loadBytes(noLanguage), LanguageLoadStatus::Damaged);
    EXPECT_NE(t.errorDetail().find("no commas"), std::string::npos) << t.errorDetail();
}

TEST(LanguageTable, TextStoreBudgetOf50BytesPerCell) {
    const auto ls = lines(2);
    LanguageTable t = loaded(join(ls));
    std::size_t used = 0;
    for (int k = 0; k < 2; ++k) {
        for (int row = 0; row < t.rowCount(); ++row)
            used += t.text(row, k).size() + 1;
    }
    const std::size_t budget = 50 * 2 * 566;
    ASSERT_LT(used, budget);
    const std::size_t room = budget - used;

    auto full = ls;
    full[at(300)] = "T300,r300l0" + std::string(room, 'x') + ",r300l1";
    LanguageTable ok = loaded(join(full));
    EXPECT_EQ(ok.text(300, 0).size(), 6 + room);

    auto over = ls;
    over[at(300)] = "T300,r300l0" + std::string(room + 1, 'x') + ",r300l1";
    LanguageTable refused;
    EXPECT_EQ(refused.loadBytes(join(over)), LanguageLoadStatus::Damaged);
    EXPECT_NE(refused.errorDetail().find("need 56601 bytes, more than the 56600"),
              std::string::npos)
        << refused.errorDetail();
    EXPECT_NE(refused.errorDetail().find("line 302 (row 300, label \"T300\"), language 0"),
              std::string::npos)
        << refused.errorDetail();
}

TEST(LanguageTable, FontHeightMustBeAPositiveNumber) {
    for (const char* bad : {"abc", "0", "-3", "", "12px", "99999999999"}) {
        auto ls = lines(2);
        ls[at(1)] = std::string("T1,13,") + bad;
        LanguageTable t;
        EXPECT_EQ(t.loadBytes(join(ls)), LanguageLoadStatus::Damaged) << bad;
        EXPECT_NE(t.errorDetail().find("font height) of language 1"), std::string::npos)
            << t.errorDetail();
    }
    auto ls = lines(2);
    ls[at(1)] = "T1, 13 ,9";
    EXPECT_EQ(loaded(join(ls)).font(0).pixelHeight, 13);
}

TEST(LanguageTable, CurrentLanguageIsClampedToTheFile) {
    LanguageTable t;
    t.setCurrentLanguage(5); // as read from the settings before loading
    EXPECT_EQ(t.currentLanguage(), 5);
    ASSERT_EQ(t.loadBytes(join(lines(2))), LanguageLoadStatus::Ok);
    EXPECT_EQ(t.currentLanguage(), 0);

    LanguageTable u;
    u.setCurrentLanguage(1);
    ASSERT_EQ(u.loadBytes(join(lines(2))), LanguageLoadStatus::Ok);
    EXPECT_EQ(u.currentLanguage(), 1);
    u.setCurrentLanguage(2);
    EXPECT_EQ(u.currentLanguage(), 0);
    u.setCurrentLanguage(-1);
    EXPECT_EQ(u.currentLanguage(), 0);
}

TEST(LanguageTable, FailedLoadKeepsThePreviousTable) {
    LanguageTable t = loaded(join(lines(2)));
    t.setCurrentLanguage(1);
    EXPECT_EQ(t.loadBytes("Label,a\nbroken"), LanguageLoadStatus::Damaged);
    EXPECT_EQ(t.languageCount(), 2);
    EXPECT_EQ(t.currentLanguage(), 1);
    EXPECT_EQ(t.text(2), "r2l1");
}

TEST(LanguageTable, LoadFileReportsMissingFiles) {
    LanguageTable t;
    EXPECT_EQ(t.loadFile("/nonexistent/dir/vrl73m.lng"), LanguageLoadStatus::NotFound);
    EXPECT_NE(t.errorDetail().find("/nonexistent/dir/vrl73m.lng"), std::string::npos);
    EXPECT_EQ(t.loadFile(std::filesystem::temp_directory_path().string()),
              LanguageLoadStatus::NotFound);
}

TEST(LanguageSupplement, KeysFallBackAndBadFilesAreRefused) {
    LanguageTable t;
    ASSERT_EQ(t.loadSupplementBytes("Key,English,Deutsch\n# note\n\na.b,\"One, two\",Eins\n"
                                    "c.d,Only English\n"),
              LanguageLoadStatus::Ok);
    EXPECT_EQ(t.text("a.b", 0), "One, two");
    EXPECT_EQ(t.text("a.b", 1), "Eins");
    EXPECT_EQ(t.text("c.d", 1), "Only English"); // missing translation: first language
    EXPECT_EQ(t.text("no.such", 1), "no.such");  // missing key: the key itself
    EXPECT_EQ(t.supplementSize(), 2u);
    const std::pair<const char*, const char*> bad[] = {{"Key,English\na,b,c\n", "line 2 "},
                                                        {"Key,English\na,b\na,c\n", "line 3:"}};
    for (const auto& [bytes, where] : bad) {
        EXPECT_EQ(t.loadSupplementBytes(bytes), LanguageLoadStatus::Damaged) << bytes;
        EXPECT_NE(t.errorDetail().find(where), std::string::npos) << t.errorDetail();
        EXPECT_EQ(t.text("a.b", 0), "One, two"); // the old table stays
    }
    EXPECT_EQ(t.loadSupplementFile(VRL_SOURCE_DIR "/data/vrl73m-extra.lng"), LanguageLoadStatus::Ok)
        << t.errorDetail();
}

TEST(LanguageFileSearch, CandidatesInSearchOrder) {
#ifndef _WIN32
    EXPECT_EQ(languageFileCandidates("/opt/vrl/bin", "/home/u/", "/usr/share/vrl73m",
                                     "/usr/bin::/opt/vrl/bin:/bin/"),
              (std::vector<std::string>{"/opt/vrl/bin/vrl73m.lng", "/home/u/vrl73m.lng",
                                        "/usr/share/vrl73m/vrl73m.lng", "/usr/bin/vrl73m.lng",
                                        "/bin/vrl73m.lng"}));
    EXPECT_EQ(languageFileCandidates("", "", "", ""), std::vector<std::string>{});
#endif
}

TEST(LanguageFileSearch, FindsTheFirstExistingFile) {
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / "vrl_lang_search_test";
    fs::remove_all(root);
    fs::create_directories(root / "a");
    fs::create_directories(root / "b");
    fs::create_directories(root / "c" / "vrl73m.lng"); // a folder of that name does not count
    std::ofstream(root / "b" / "vrl73m.lng") << "x";
    const auto found =
        findLanguageFile((root / "a").string(), (root / "c").string(), (root / "b").string(), "");
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(fs::path(*found), root / "b" / "vrl73m.lng");
    EXPECT_FALSE(findLanguageFile((root / "a").string(), "", "", "").has_value());
    fs::remove_all(root);
}

// The language file that ships with the program.
TEST(ShippedLanguageFile, LoadsInEveryLanguage) {
    LanguageTable t;
    ASSERT_EQ(t.loadFile(VRL_SOURCE_DIR "/data/vrl73m.lng"), LanguageLoadStatus::Ok)
        << t.errorDetail();
    ASSERT_EQ(t.languageCount(), 2);
    EXPECT_EQ(t.rowCount(), 566);

    const std::vector<int> named = {
        3,   8,   9,   10,  16,  19,  20,  25,  26,  36,  52,  53,  54,  55,  56,  57,
        58,  59,  60,  61,  62,  65,  66,  67,  68,  69,  70,  71,  78,  79,  80,  81,
        82,  83,  85,  97,  110, 133, 158, 159,
        161, 162, 168, 169, 170, 171, 172, 173, 179, 196, 206, 207, 235, 250, 264, 309,
        320, 328, 335, 346, 363, 364, 367, 371, 376, 383, 414, 418, 434, 457, 461, 481,
        499, 515, 518, 523, 528, 533, 536, 537, 538, 549, 550, 557, 562, 563};
    for (int language = 0; language < 2; ++language) {
        t.setCurrentLanguage(language);
        ASSERT_EQ(t.currentLanguage(), language);
        EXPECT_EQ(t.currentFont().face, "DejaVu Sans");
        EXPECT_EQ(t.currentFont().pixelHeight, 13);
        for (int index : named) {
            EXPECT_FALSE(t.text(index).empty()) << index << " in language " << language;
            EXPECT_EQ(t.text(index).find("(unused"), std::string::npos) << index;
        }
        // Menu rows carry their shortcut after a tab.
        EXPECT_NE(t.text(85).find('\t'), std::string::npos);
        // The key functions 333/334 share the words of Group Down/Up so that they store
        // a code, and the Priority item 367 matches the revert text 373.
        EXPECT_EQ(t.text(333), t.text(362));
        EXPECT_EQ(t.text(334), t.text(363));
        EXPECT_EQ(t.text(367), t.text(373));
        // Every function of the key table has its own name.
        std::vector<std::string> functions;
        for (int index = 328; index <= 363; ++index) {
            if (index != 333 && index != 334 && index != 359) functions.push_back(t.text(index));
        }
        std::sort(functions.begin(), functions.end());
        EXPECT_EQ(std::adjacent_find(functions.begin(), functions.end()), functions.end());
    }
    EXPECT_EQ(t.text(564, 0), "English");
    EXPECT_EQ(t.text(565, 0), "German");
    EXPECT_EQ(t.text(564, 1), "Englisch");
    EXPECT_EQ(t.text(565, 1), "Deutsch");
    EXPECT_NE(t.text(19, 0), t.text(19, 1)); // translated, not copied
    EXPECT_NE(t.text(86, 0), t.text(86, 1));
    EXPECT_EQ(t.text(338, 0), "Monitor A [Monitor Unmute(Momentary)]");
}

// docs/language-texts.md is the translators' index; its English column must stay the text of
// the file (menus show their tab as \t, line breaks as \n).
TEST(ShippedLanguageFile, TranslatorIndexMatchesTheEnglishColumn) {
    LanguageTable t;
    ASSERT_EQ(t.loadFile(VRL_SOURCE_DIR "/data/vrl73m.lng"), LanguageLoadStatus::Ok);
    std::ifstream doc(VRL_SOURCE_DIR "/docs/language-texts.md");
    ASSERT_TRUE(doc) << "docs/language-texts.md is missing";
    std::vector<bool> listed(static_cast<std::size_t>(t.rowCount()), false);
    std::string line;
    while (std::getline(doc, line)) {
        if (line.size() < 4 || line.compare(0, 2, "| ") != 0 ||
            !std::isdigit(static_cast<unsigned char>(line[2]))) {
            continue;
        }
        const int index = std::stoi(line.substr(2));
        ASSERT_GE(index, 0);
        ASSERT_LT(index, t.rowCount()) << line;
        std::size_t start = line.find(" | ", 2) + 3;
        std::size_t end = start;
        while ((end = line.find(" | ", end)) != std::string::npos && line[end - 1] == '\\')
            ++end;
        ASSERT_NE(end, std::string::npos) << line;
        std::string expected;
        for (char c : t.text(index, 0)) {
            if (c == '\t')
                expected += "\\t";
            else if (c == '\n')
                expected += "\\n";
            else if (c == '|')
                expected += "\\|";
            else
                expected += c;
        }
        EXPECT_EQ(line.substr(start, end - start), expected) << "index " << index;
        listed[static_cast<std::size_t>(index)] = true;
    }
    for (int index = 0; index < t.rowCount(); ++index) {
        const bool placeholder = t.text(index, 0).rfind("(unused", 0) == 0;
        EXPECT_EQ(listed[static_cast<std::size_t>(index)], !placeholder) << "index " << index;
    }
}


TEST(LanguageTable, TranslatesAShownTextIntoAnotherLanguage) {
    std::vector<std::string> ls = lines(2);
    ls[at(118)] = "T118,&Model Information\\tCtrl+M,&Modellinformation\\tStrg+M";
    LanguageTable t = loaded(join(ls));
    ASSERT_EQ(t.loadSupplementBytes("Key,English,Deutsch\nw.title,Fleet,Flotte\n"), LanguageLoadStatus::Ok);
    const std::pair<const char*, const char*> cases[] = {
        {"r300l0", "r300l1"},                        // a row as shown
        {"Model Information", "Modellinformation"}, // its menu form
        {"Fleet", "Flotte"},                         // a supplement text
        {"typed by hand", "typed by hand"},          // no row: unchanged
    };
    for (const auto& [from, to] : cases) EXPECT_EQ(t.translate(from, 0, 1), to) << from;
}

} // namespace
} // namespace vrl
