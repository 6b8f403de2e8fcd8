// The DOSBox configuration text: the shipped template's shape, the cut at
// "mount c ", the appended lines and shortcut arguments for plain, root and
// blank-holding folders, and the closing message.
#include "install/dosbox_conf.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "install/ucargo_text.h"

namespace pellion {
namespace {

std::string ReadTemplate() {
    std::ifstream in(PELLION_CONF_TEMPLATE_PATH, std::ios::binary);
    EXPECT_TRUE(in) << PELLION_CONF_TEMPLATE_PATH;
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Splits at CR LF; every line must end in one (the last too).
std::vector<std::string> CrLfLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "text after the last CR LF";
    return lines;
}

using Settings = std::vector<std::string>;

// The sections in file order with their settings, as DOSBox reads them.
const std::vector<std::pair<std::string, Settings>> kSections = {
    {"[sdl]",
     {"fullscreen=false", "fulldouble=false", "fullresolution=original", "windowresolution=800x600",
      "output=opengl", "autolock=true", "sensitivity=100", "waitonerror=true",
      "priority=higher,normal", "mapperfile=mapper-0.74.map", "usescancodes=true"}},
    {"[dosbox]", {"language=", "machine=svga_s3", "captures=capture", "memsize=16"}},
    {"[render]", {"frameskip=0", "aspect=false", "scaler=normal2x"}},
    {"[cpu]", {"core=auto", "cputype=auto", "cycles=max", "cycleup=10", "cycledown=20"}},
    {"[mixer]", {"nosound=false", "rate=44100", "blocksize=1024", "prebuffer=20"}},
    {"[midi]", {"mpu401=intelligent", "mididevice=default", "midiconfig="}},
    {"[sblaster]",
     {"sbtype=sb16", "sbbase=220", "irq=7", "dma=1", "hdma=5", "sbmixer=true", "oplmode=auto",
      "oplemu=default", "oplrate=44100"}},
    {"[gus]",
     {"gus=false", "gusrate=44100", "gusbase=240", "gusirq=5", "gusdma=3",
      "ultradir=C:\\ULTRASND"}},
    {"[speaker]",
     {"pcspeaker=true", "pcrate=44100", "tandy=auto", "tandyrate=44100", "disney=true"}},
    {"[joystick]",
     {"joysticktype=auto", "timed=true", "autofire=false", "swap34=false", "buttonwrap=false"}},
    {"[serial]", {"serial1=dummy", "serial2=dummy", "serial3=disabled", "serial4=disabled"}},
    {"[dos]", {"xms=true", "ems=true", "umb=true", "keyboardlayout=auto"}},
    {"[ipx]", {"ipx=false"}},
};

TEST(DosBoxTemplate, ShapeHeaderSectionsSettingsAndAutoexec) {
    std::string text = ReadTemplate();
    EXPECT_EQ(text.find("mount c "), std::string::npos);
    for (char c : text) ASSERT_TRUE(c > 0 && c < 0x7F) << "plain ASCII only: " << int(c);
    for (size_t i = 0; i < text.size(); ++i) {
        bool pairedLf = text[i] != '\n' || (i > 0 && text[i - 1] == '\r');
        bool pairedCr = text[i] != '\r' || (i + 1 < text.size() && text[i + 1] == '\n');
        ASSERT_TRUE(pairedLf && pairedCr) << "lone CR or LF at byte " << i;
    }
    std::vector<std::string> lines = CrLfLines(text);
    ASSERT_EQ(lines.size(), 241u);

    const std::vector<std::string> header = {
        "# This is the configurationfile for DOSBox 0.74. (Please use the latest version of "
        "DOSBox)",
        "# Lines starting with a # are commentlines and are ignored by DOSBox.",
        "# They are used to (briefly) document the effect of each option.", ""};
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 4), header);

    // Each section: header, a non-empty comment block, blank, settings, blank.
    size_t at = 4;
    for (const auto& [name, settings] : kSections) {
        ASSERT_LT(at, lines.size());
        EXPECT_EQ(lines[at++], name);
        size_t comments = 0;
        while (at < lines.size() && !lines[at].empty() && lines[at][0] == '#') ++at, ++comments;
        EXPECT_GT(comments, 0u) << name;
        EXPECT_EQ(lines[at++], "") << name;
        for (const std::string& setting : settings) EXPECT_EQ(lines[at++], setting) << name;
        EXPECT_EQ(lines[at++], "") << name << ": one blank line after the settings";
    }
    const std::vector<std::string> autoexec = {"[autoexec]",
                                               "# Lines in this section will be run at startup.",
                                               "# You can put your MOUNT lines here."};
    EXPECT_EQ(std::vector<std::string>(lines.begin() + at, lines.end()), autoexec);
}

TEST(DosBoxConf, CutAtFirstCaseSensitiveMountC) {
    const struct {
        const char* templateText;
        const char* kept;
        const char* why;
    } cases[] = {
        {"[a]\r\nmount c x\r\n[b]\r\n", "[a]\r\n", "middle: the marker and all after it go"},
        {"mount c x\r\nmore\r\n", "", "at the very start: nothing is left"},
        {"[a]\r\nx=1\r\n", "[a]\r\nx=1\r\n", "absent: nothing is cut"},
        {"# MOUNT c\r\nMount c y\r\nmount cd\r\n", "# MOUNT c\r\nMount c y\r\nmount cd\r\n",
         "other cases and no blank after c are no marker"},
        {"1mount c a\r\n2mount c b\r\n", "1", "the first of two"},
        {"", "", "empty template"},
    };
    for (const auto& c : cases) EXPECT_EQ(CutAtMountLine(c.templateText), c.kept) << c.why;

    EXPECT_EQ(DosBoxConfText("[x]\r\nmount c old\r\nrest", "C:\\kx\\", "veskpnx.exe"),
              "[x]\r\nmount c C:\\kx\r\nc:\r\ndel f\r\nveskpnx.exe /ns\r\nexit\r\n");
}

TEST(DosBoxConf, AppendedLinesAndShortcutArgumentsPerFolder) {
    const struct {
        const char* folder;
        const char* mountLine;
        const char* arguments;
        const char* why;
    } cases[] = {
        {"C:\\tovarin\\kx\\", "mount c C:\\tovarin\\kx",
         "-noconsole -conf C:\\tovarin\\kx\\dosbox.conf", "plain folder, unquoted"},
        {"D:\\", "mount c D:", "-noconsole -conf D:\\dosbox.conf",
         "drive root loses its backslash"},
        {"c:\\my games\\kx\\", "mount c \"c:\\my games\\kx\"",
         "-noconsole -conf \"c:\\my games\\kx\\dosbox.conf\"", "a blank: both quoted whole"},
        {"E:\\a  b\\", "mount c \"E:\\a  b\"", "-noconsole -conf \"E:\\a  b\\dosbox.conf\"",
         "two blanks in a row"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AutoexecLines(c.folder, kProductExe),
                  std::string(c.mountLine) + "\r\nc:\r\ndel f\r\nveskpnx.exe /ns\r\nexit\r\n")
            << c.why;
        EXPECT_EQ(DosBoxShortcutArguments(c.folder), c.arguments) << c.why;
    }
}

// Folders in ANSI bytes, walked by character: a double-byte letter whose
// second byte is 0x5C stays whole in the folder forms and the mount line;
// DOSBox's MOUNT, which works on bytes, misreads it only as the last letter.
TEST(DosBoxConf, DoubleByteFoldersKeepTheirLastLetter) {
    const struct {
        unsigned codePage;
        const char *folder, *stripped;  // StripTrailingBackslashes; NormalizeFolder adds one
        bool quoted, mountsWhole;       // quoted: in the mount line
    } rows[] = {
        {932, "C:\\\x95\x5C\\", "C:\\\x95\x5C", false, false},          // 表
        {932, "C:\\\x95\x5C", "C:\\\x95\x5C", false, false},            // 表 without backslash
        {932, "C:\\\x95\x5C\\kx\\", "C:\\\x95\x5C\\kx", false, true},   // 表 inside
        {932, "C:\\\x81\x81\\\\", "C:\\\x81\x81", false, true},         // ＝ (81 81), backslashes
        {932, "C:\\\x83\x7C\\", "C:\\\x83\x7C", true, true},            // ポ: '|' is a pipe
        {936, "D:\\\x81\x5C\\", "D:\\\x81\x5C", false, false},          // 乗
        {949, "C:\\\xC7\xD1\\", "C:\\\xC7\xD1", false, true},           // 한
        {950, "D:\\kx\\\xB3\x5C\\", "D:\\kx\\\xB3\x5C", false, false},  // 許
        {1252, "C:\\\x95\x5C\\", "C:\\\x95", false, true},              // a bullet, backslashes
    };
    for (const auto& row : rows) {
        const AnsiCodePage codePage = AnsiCodePage::ForNumber(row.codePage);
        const std::string stripped = row.stripped, at = row.folder;
        EXPECT_EQ(StripTrailingBackslashes(row.folder, codePage), stripped) << at;
        EXPECT_EQ(NormalizeFolder(row.folder, codePage), stripped + "\\") << at;
        const std::string mount = row.quoted ? "\"" + stripped + "\"" : stripped;
        EXPECT_EQ(AutoexecLines(row.folder, kProductExe, codePage).substr(0, mount.size() + 10),
                  "mount c " + mount + "\r\n")
            << at;
        EXPECT_EQ(DosBoxMountsWhole(row.folder, codePage), row.mountsWhole) << at;
    }
    EXPECT_NE(DosBoxMisreadFolderMessage("C:\\\xE8\xA1\xA8").find(", \xE8\xA1\xA8, "),
              std::string::npos);
}

TEST(DosBoxConf, ShippedTemplateIsKeptWholeAndEndsInTheEightLines) {
    std::string text = ReadTemplate();
    std::string conf = DosBoxConfText(text, "C:\\tovarin\\kx\\", kProductExe);
    ASSERT_EQ(conf.substr(0, text.size()), text);
    std::vector<std::string> lines = CrLfLines(conf);
    ASSERT_GE(lines.size(), 8u);
    const std::vector<std::string> last = {"[autoexec]",
                                           "# Lines in this section will be run at startup.",
                                           "# You can put your MOUNT lines here.",
                                           "mount c C:\\tovarin\\kx",
                                           "c:",
                                           "del f",
                                           "veskpnx.exe /ns",
                                           "exit"};
    EXPECT_EQ(std::vector<std::string>(lines.end() - 8, lines.end()), last);
}

TEST(DosBoxClosingMessage, FullTextOrTheMissingFilesByName) {
    DosBoxSetupResult result;
    result.confPath = "C:\\kx\\dosbox.conf";
    result.dosboxLinkPath = "C:\\Desk\\V DOSbox.lnk";
    result.printLinkPath = "C:\\Desk\\Print F.lnk";
    result.confWritten = result.dosboxLinkMade = result.printLinkMade = true;
    EXPECT_EQ(DosBoxShortcutTitle(), "V DOSbox");
    EXPECT_EQ(DosBoxClosingMessage(result),
              "Pellion has been installed and shortcuts created to run it in DOSbox and another "
              "to Print to File F.\r\rClick the V DOSbox Icon to start Pellion.  To print from "
              "Pellion, choose \"print to file\" and always name it the single letter \"f\".\n\n"
              "To send the file F to the default printer,\n    click \"Print F\" icon or \r    "
              "press CTRL+ALT+P.");

    // Each row: what was made (conf, DOSBox link, print link).
    const bool rows[][3] = {
        {false, true, true}, {true, false, true}, {true, true, false}, {false, false, false}};
    const std::string paths[] = {result.confPath, result.dosboxLinkPath, result.printLinkPath};
    for (const auto& made : rows) {
        result.confWritten = made[0];
        result.dosboxLinkMade = made[1];
        result.printLinkMade = made[2];
        std::string text = DosBoxClosingMessage(result);
        EXPECT_EQ(text.find("shortcuts created"), std::string::npos) << text;
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(text.find("    " + paths[i] + "\r\n") != std::string::npos, !made[i])
                << paths[i] << " in:\n"
                << text;
        }
    }
}

// Without a desktop no shortcut is claimed; a configuration that could not be
// written is named, with no command that would need it.
TEST(DosBoxClosingMessage, NoDesktopAndAFolderDosBoxCannotOpen) {
    DosBoxSetupResult result;
    result.confPath = "C:\\kx\\dosbox.conf";
    result.dosboxLinkMade = result.printLinkMade = true;
    result.noDesktop = true;
    result.dosboxCommand = "dosbox.exe -noconsole -conf C:\\kx\\dosbox.conf";
    EXPECT_FALSE(result.AllMade());
    std::string text = DosBoxClosingMessage(result);
    EXPECT_NE(text.find("    C:\\kx\\dosbox.conf\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("run DOSbox"), std::string::npos) << text;

    text = DosBoxUnusableFolderMessage("C:\\\xce\xb4\\");
    EXPECT_EQ(text.rfind("Pellion has been installed, but DOSbox cannot open its folder:\r\n\r\n"
                         "    C:\\\xce\xb4\\\r\n\r\n",
                         0),
              0u)
        << text;
    EXPECT_NE(text.find("plain letters"), std::string::npos) << text;
}

}  // namespace
}  // namespace pellion
