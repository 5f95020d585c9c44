// The print-out's layout as a reader sees it: every word's box in the PDF that
// `vrl73m-cli print` writes (pdftotext -bbox), for full data of three model kinds.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {
int run(const std::string& command, std::string* out = nullptr) {
    FILE* pipe = popen((command + (out ? "" : " >/dev/null") + " 2>&1").c_str(), "r");
    if (!pipe) return -1;
    char buf[4096];
    for (size_t n; (n = fread(buf, 1, sizeof buf, pipe)) > 0;)
        if (out) out->append(buf, n);
    const int raw = pclose(pipe);
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

std::string cli(const std::string& args) { return std::string(VRL_CLI_PATH) + " " + args; }

struct Word {
    double x0, y0, x1, y1;
    std::string text;
};
struct Page {
    double width;
    std::vector<Word> words;
};

std::vector<Page> pdfWords(const fs::path& pdf) {
    std::string xml;
    run("pdftotext -bbox " + pdf.string() + " -", &xml);
    std::vector<Page> pages;
    static const std::regex item(
        R"re(<page width="([\d.]+)"|<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    for (std::sregex_iterator it(xml.begin(), xml.end(), item), end; it != end; ++it) {
        const std::smatch& m = *it;
        if (m[1].matched) pages.push_back({std::stod(m[1]), {}});
        else if (!pages.empty())
            pages.back().words.push_back({std::stod(m[2]), std::stod(m[3]), std::stod(m[4]), std::stod(m[5]), m[6]});
    }
    return pages;
}
} // namespace

TEST(PrintLayout, FullDataOfThreeModelKindsKeepsEveryWordApartAndInsideTheMargins) {
    if (run("command -v pdftotext") != 0) GTEST_SKIP() << "pdftotext missing";
    const fs::path dir = fs::temp_directory_path() / ("vrl-print-layout-" + std::to_string(getpid()));
    fs::create_directories(dir);
    struct Case {
        int row;
        const char* option;
        int channels;
        const char* fill; // long values the windows take
    };
    const Case cases[] = {
        {5, "trunking", 128, // mobile: every section, trunking lists, access code
         "dtmf.code.1=0123456789ABCD*# trunking.speed_dial.0=8888888888888888 trunking.code.15=8888 "
         "trunking.access_code=97531 twotone.code.10.name=WWWWWWWW twotone.code.10.tone_a=3199.9"},
        {23, "none", 16, "dtmf.code.1=0123456789ABCD*# message.line_1=WWWWWWWWWWWW"},         // 16-channel portable
        {25, "trunking", 32, "ost.16.tone_2=D754I trunking.access_code=97531 trunking.code.3=0815"}, // OST
    };
    const double margin = 15 / 25.4 * 72; // the PDF's margins, in points
    for (const Case& c : cases) {
        SCOPED_TRACE("model row " + std::to_string(c.row));
        // A name as long as the ones the program proposes.
        const fs::path data = dir / "RM-160A-128CH-K_SN0000004711.dat", pdf = dir / "out.pdf";
        ASSERT_EQ(run(cli("new --row " + std::to_string(c.row) + " --option " + c.option + " -o " +
                          data.string())), 0);
        std::ofstream csv(dir / "plan.csv");
        csv << "Group,Channel,Receive,Transmit,Name\n";
        const int perGroup = std::min(c.channels, 16);
        for (int i = 0; i < c.channels; ++i)
            csv << i / perGroup + 1 << ',' << i % perGroup + 1 << ",155." << 10000 + i * 125 << ",156.00000,WXYZ"
                << 1000 + i << '\n';
        csv.close();
        ASSERT_EQ(run(cli("import-csv " + data.string() + " " + (dir / "plan.csv").string() + " -o " + data.string())), 0);
        ASSERT_EQ(run(cli("set " + data.string() + " " + c.fill + " -o " + data.string())), 0);
        ASSERT_EQ(run(cli("print " + data.string() + " -o " + pdf.string() + " --sections all")), 0);

        const std::vector<Page> pages = pdfWords(pdf);
        ASSERT_GE(pages.size(), 6u);
        for (size_t p = 0; p < pages.size(); ++p) {
            const std::vector<Word>& words = pages[p].words;
            ASSERT_FALSE(words.empty());
            for (size_t i = 0; i < words.size(); ++i) {
                const Word& a = words[i];
                EXPECT_GE(a.x0, margin - 0.5) << "page " << p + 1 << ": " << a.text;
                EXPECT_LE(a.x1, pages[p].width - margin + 0.5) << "page " << p + 1 << ": " << a.text;
                EXPECT_EQ(a.text.find("97531"), std::string::npos) << "the access code is printed";
                for (size_t j = i + 1; j < words.size(); ++j) {
                    const Word& b = words[j];
                    EXPECT_FALSE(a.x0 <= b.x1 && b.x0 <= a.x1 && a.y0 <= b.y1 && b.y0 <= a.y1)
                        << "page " << p + 1 << ": '" << a.text << "' meets '" << b.text << "'";
                }
            }
        }
    }
    fs::remove_all(dir);
}

TEST(PrintLayout, SectionsTheModelLacksAreLeftOutAndNothingLeftWritesNothing) {
    const fs::path dir = fs::temp_directory_path() / ("vrl-print-sections-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const std::string data = (dir / "portable.dat").string(), pdf = (dir / "out.pdf").string();
    ASSERT_EQ(run(cli("new --row 23 -o " + data)), 0); // a portable: no emergency window
    struct Case {
        const char* sections;
        int status;
        bool written;
        const char* says;
    };
    for (const Case& c : {Case{"emergency", 2, false, "'emergency'"}, Case{"''", 2, false, "nothing to print"},
                          Case{"model,emergency", 0, true, "'emergency'"}, Case{"all", 0, true, ""}}) {
        fs::remove(pdf);
        std::string out;
        EXPECT_EQ(run(cli("print " + data + " -o " + pdf + " --sections " + c.sections), &out), c.status)
            << c.sections;
        EXPECT_EQ(fs::exists(pdf), c.written) << c.sections;
        EXPECT_NE(out.find(c.says), std::string::npos) << c.sections << ": " << out;
        if (*c.says == 0) {
            EXPECT_EQ(out.find("warning"), std::string::npos) << "all leaves sections out quietly: " << out;
        }
    }
    fs::remove_all(dir);
}
