// Creating the font table's fonts through fontconfig and FreeType, and the
// way grInit and grShutdown use them.
#include <gtest/gtest.h>

#include <fontconfig/fontconfig.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "recording_fixture.h"
#include "text/font_manager.h"

namespace fs = std::filesystem;

namespace {

const char kLiberation[] = "/usr/share/fonts/truetype/liberation/";

GrTables tablesWithFonts(const FontSpec* fonts, int count)
{
    GrTables t = displayTables();
    t.fonts = fonts;
    t.fontCount = count;
    return t;
}

// Makes fontconfig see only the fonts of a private folder while it lives.
class PrivateFontConfig {
public:
    explicit PrivateFontConfig(const fs::path& folder) : original_(FcConfigReference(nullptr))
    {
        FcConfig* config = FcConfigCreate();
        const std::string cache = "<fontconfig><cachedir>" + (folder / "cache").string() + "</cachedir></fontconfig>";
        FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(cache.c_str()), FcFalse);
        FcConfigAppFontAddDir(config, reinterpret_cast<const FcChar8*>(folder.c_str()));
        FcConfigSetCurrent(config);
        FcConfigDestroy(config);  // the current configuration holds it now
    }
    ~PrivateFontConfig()
    {
        FcConfigSetCurrent(original_);
        FcConfigDestroy(original_);
    }

private:
    FcConfig* original_;
};

fs::path freshFolder()
{
    char name[] = "/tmp/panel-fonts-XXXXXX";
    const char* made = mkdtemp(name);
    return made ? fs::path(made) : fs::path();
}

class FontTest : public RecordingTest {
protected:
    FontManager& fonts = fontManager();

    int Init(const FontSpec* table, int count)
    {
        grShutdown();
        tables_ = tablesWithFonts(table, count);
        EXPECT_TRUE(grUseTables(&tables_));
        return grInit(1.5f);
    }

    GrTables tables_ = {};
};

}  // namespace

TEST_F(FontTest, DisplayTableGivesSixFontsAtTheirEmSizes)
{
    ASSERT_EQ(fonts.fontCount(), 6);
    const int em[6] = {40, 19, 24, 27, 32, 13};
    for (int i = 0; i < 6; ++i) {
        const FT_Face face = fonts.fontEntry(i).face->face;
        EXPECT_EQ(face->size->metrics.y_ppem, em[i]) << "font " << i;
        EXPECT_STREQ(face->family_name, i == 0 ? "Liberation Sans" : "Liberation Sans Narrow") << "font " << i;
        const bool bold = (face->style_flags & FT_STYLE_FLAG_BOLD) != 0;
        EXPECT_EQ(bold, i == 1 || i == 5) << "font " << i;
        EXPECT_FALSE(face->style_flags & FT_STYLE_FLAG_ITALIC);

        const FontMetrics m = fontMetrics()[i];
        EXPECT_EQ(m.height, std::floor(m.height)) << "whole pixels";
        EXPECT_EQ(m.descent, std::floor(m.descent));
        EXPECT_GT(m.height, 1.05f * em[i]) << "font " << i;
        EXPECT_LT(m.height, 1.3f * em[i]) << "font " << i;
        EXPECT_GT(m.descent, 0.15f * em[i]) << "font " << i;
        EXPECT_LT(m.descent, 0.3f * em[i]) << "font " << i;
    }
}

TEST_F(FontTest, AnyNonZeroStyleValueCountsAsSet)
{
    const FontSpec table[] = {{"Arial", 12, 255, 0, u"x.ttf"}, {"Arial", 12, 0, -1, u"x.ttf"}};
    ASSERT_EQ(Init(table, 2), GR_INIT_OK);
    EXPECT_TRUE(fonts.fontEntry(0).face->face->style_flags & FT_STYLE_FLAG_BOLD);
    EXPECT_TRUE(fonts.fontEntry(1).face->face->style_flags & FT_STYLE_FLAG_ITALIC);
}

TEST_F(FontTest, UnknownFaceIsSubstitutedAndLoads)
{
    const FontSpec table[] = {{"No Such Face Anywhere", 20, 0, 0, u"nosuch.ttf"}};
    EXPECT_EQ(Init(table, 1), GR_INIT_OK);
    EXPECT_EQ(fonts.fontCount(), 1);
    EXPECT_GT(fontMetrics()[0].height, 0.0f);
}

TEST_F(FontTest, FaceWhoseFileCannotBeOpenedFailsInitWithTheFontsCode)
{
    const fs::path folder = freshFolder();
    ASSERT_FALSE(folder.empty());
    fs::copy_file(std::string(kLiberation) + "LiberationSans-Regular.ttf", folder / "sans.ttf");
    fs::copy_file(std::string(kLiberation) + "LiberationMono-Regular.ttf", folder / "mono.ttf");
    {
        PrivateFontConfig config(folder);
        fs::remove(folder / "mono.ttf");  // fontconfig still lists it
        const FontSpec table[] = {{"Liberation Sans", 20, 0, 0, u""},
                                  {"Liberation Mono", 20, 0, 0, u""},
                                  {"Liberation Sans", 30, 0, 0, u""}};
        fontMetrics()[2] = {5.0f, 1.0f};
        EXPECT_EQ(Init(table, 3), GR_INIT_FONTS_FAILED);
        EXPECT_EQ(fonts.fontCount(), 1) << "the fonts before the failure stay, the rest are not tried";
        EXPECT_EQ(std::string(grFontError()).rfind("font 1 (\"Liberation Mono\", 20 pt): the system has no font", 0), 0u)
            << grFontError();
        EXPECT_GT(fontMetrics()[0].height, 0.0f);
        EXPECT_EQ(fontMetrics()[1].height, 0.0f);
        EXPECT_EQ(fontMetrics()[2].height, 0.0f) << "metrics of an earlier load are not left behind";
        grShutdown();
        EXPECT_EQ(fonts.fontCount(), 0);
    }
    fs::remove_all(folder);
}

TEST_F(FontTest, NoFontsAtAllFailsInit)
{
    const fs::path folder = freshFolder();
    ASSERT_FALSE(folder.empty());
    {
        PrivateFontConfig config(folder);
        const FontSpec table[] = {{"Arial", 20, 0, 0, u"arial.ttf"}};
        EXPECT_EQ(Init(table, 1), GR_INIT_FONTS_FAILED);
        EXPECT_EQ(fonts.fontCount(), 0);
        EXPECT_EQ(std::string(grFontError()).rfind("font 0 (\"Arial\", 20 pt): the system has no font", 0), 0u)
            << grFontError();
    }
    fs::remove_all(folder);
}

TEST_F(FontTest, BadEntriesFailInsteadOfLoadingSomething)
{
    const FontSpec zeroSize[] = {{"Arial", 0, 1, 0, u"arial.ttf"}};
    EXPECT_EQ(Init(zeroSize, 1), GR_INIT_FONTS_FAILED);
    EXPECT_EQ(std::string(grFontError()), "font 0 (\"Arial\", 0 pt, bold): its size is below 1 pt");
    const FontSpec hugeSize[] = {{"Arial", 0x7FFFFFFF, 0, 1, u"arial.ttf"}};
    EXPECT_EQ(Init(hugeSize, 1), GR_INIT_FONTS_FAILED);
    EXPECT_NE(std::string(grFontError()).find("2147483647 pt, italic): "), std::string::npos) << grFontError();
    const FontSpec laterNull[] = {{"Arial", 10, 0, 0, u"arial.ttf"}, {nullptr, 10, 0, 0, u"arial.ttf"}};
    EXPECT_EQ(Init(laterNull, 2), GR_INIT_FONTS_FAILED);
    EXPECT_EQ(fonts.fontCount(), 1);
    EXPECT_EQ(std::string(grFontError()), "font 1 (no face name, 10 pt): an entry after the first needs a face name");
}

TEST_F(FontTest, NullFirstFaceNameSkipsFontsAndTextDrawsNothing)
{
    const FontSpec table[] = {{nullptr, 30, 0, 0, nullptr}};
    ASSERT_EQ(Init(table, 1), GR_INIT_OK);
    EXPECT_EQ(fonts.fontCount(), 0);
    useKnownDrawingState();
    grSetMode(GR_MODE_BORDER, 1);
    grResetDiagnostics();
    rec::clearCalls();
    grText(10, 10, 0, u"0");
    EXPECT_TRUE(rec::draws().empty());
    EXPECT_EQ(grDiagnostics().rejectedIndices, 1);
}

TEST_F(FontTest, ReleaseDeletesThePagesOnceAndTwiceIsHarmless)
{
    ASSERT_NE(fonts.findGlyph(0, u'0', false), nullptr);
    const GLuint page = fonts.pages()[0]->texture;
    rec::clearCalls();
    fonts.releaseFonts();
    EXPECT_EQ(fonts.fontCount(), 0);
    EXPECT_TRUE(fonts.pages().empty());
    EXPECT_EQ(rec::texture(page), nullptr);
    EXPECT_EQ(rec::callsNamed("glDeleteTextures").size(), 1u);
    fonts.releaseFonts();
    EXPECT_EQ(rec::callsNamed("glDeleteTextures").size(), 1u);
    EXPECT_EQ(fonts.findGlyph(0, u'0', false), nullptr);
}

TEST_F(FontTest, LoadingAgainKeepsListPositionsAsTablePositions)
{
    ASSERT_EQ(Init(displayTables().fonts, displayTables().fontCount), GR_INIT_OK);
    ASSERT_EQ(fonts.loadFonts(displayTables().fonts, fontMetrics(), 6), 1);
    EXPECT_EQ(fonts.fontCount(), 6);
    EXPECT_EQ(fonts.fontEntry(4).face->face->size->metrics.y_ppem, 32);
}

namespace {

const char kDejaVu[] = "/usr/share/fonts/truetype/dejavu/";

// A private font folder holding copies of the named files.
fs::path folderWith(std::initializer_list<std::string> files)
{
    const fs::path folder = freshFolder();
    for (const std::string& file : files)
        fs::copy_file(file, folder / fs::path(file).filename());
    return folder;
}

// The advance in whole pixels of code in the font file at em pixels.
int advanceInFile(const std::string& file, int em, char16_t code)
{
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    int advance = -1;
    if (FT_Init_FreeType(&library) == 0 && FT_New_Face(library, file.c_str(), 0, &face) == 0 &&
        FT_Set_Pixel_Sizes(face, 0, em) == 0 && FT_Load_Char(face, code, FT_LOAD_TARGET_NORMAL) == 0)
        advance = static_cast<int>((face->glyph->advance.x + 32) >> 6);
    if (face)
        FT_Done_Face(face);
    if (library)
        FT_Done_FreeType(library);
    return advance;
}

}  // namespace

// With only DejaVu fonts and no alias rules, the display's "Arial" faces
// must still be ones that draw its Russian labels.
TEST_F(FontTest, MissingFacesFallToOnesThatDrawTheDisplaysCharacters)
{
    const fs::path folder = folderWith({std::string(kDejaVu) + "DejaVuMathTeXGyre.ttf",
                                        std::string(kDejaVu) + "DejaVuSans.ttf",
                                        std::string(kDejaVu) + "DejaVuSans-Bold.ttf"});
    {
        PrivateFontConfig config(folder);
        ASSERT_EQ(Init(displayTables().fonts, displayTables().fontCount), GR_INIT_OK);
        const char16_t labels[] = u"об/м Мкр% тк% масло x100C° 0123456789.";
        for (int font = 0; font < fonts.fontCount(); ++font) {
            const FT_Face face = fonts.fontEntry(font).face->face;
            for (const char16_t* c = labels; *c; ++c)
                EXPECT_NE(FT_Get_Char_Index(face, *c), 0u)
                    << face->family_name << " (font " << font << ") has no glyph for U+" << std::hex << int(*c);
        }
    }
    grShutdown();
    fs::remove_all(folder);
}

// A code unit the chosen face lacks is drawn from a face that has it.
TEST_F(FontTest, GlyphsTheFaceLacksComeFromAFaceThatHasThem)
{
    const std::string liberation = std::string(kLiberation) + "LiberationSans-Regular.ttf";
    const std::string dejaVu = std::string(kDejaVu) + "DejaVuSans.ttf";
    const fs::path folder = folderWith({liberation, dejaVu});
    constexpr char16_t kYat = u'Ѣ';         // Liberation Sans stops before it
    constexpr char16_t kPrivate = u'\uE000';  // no face has it
    {
        PrivateFontConfig config(folder);
        const FontSpec table[] = {{"Liberation Sans", 30, 0, 0, u""}};
        ASSERT_EQ(Init(table, 1), GR_INIT_OK);
        const FT_Face own = fonts.fontEntry(0).face->face;
        ASSERT_STREQ(own->family_name, "Liberation Sans");
        ASSERT_EQ(FT_Get_Char_Index(own, kYat), 0u);

        const GlyphRecord* yat = fonts.findGlyph(0, kYat, true);
        ASSERT_NE(yat, nullptr);
        EXPECT_EQ(yat->advance, advanceInFile(dejaVu, 40, kYat));
        EXPECT_NE(yat->advance, advanceInFile(liberation, 40, kYat)) << "not the missing-glyph box";
        EXPECT_GT(yat->width * yat->height, 0.0f);
        const FT_Face drawnWith = faceForCode(*fonts.fontEntry(0).face, kYat);
        ASSERT_NE(drawnWith, nullptr);
        EXPECT_STREQ(drawnWith->family_name, "DejaVu Sans");
        EXPECT_EQ(faceForCode(*fonts.fontEntry(0).face, u'A'), own) << "the face's own glyphs stay its own";
        EXPECT_EQ(fonts.findGlyph(0, u'A', true)->advance, advanceInFile(liberation, 40, u'A'));

        // Nothing has it: the face's own box, and no face is opened for it.
        EXPECT_EQ(faceForCode(*fonts.fontEntry(0).face, kPrivate), own);
        EXPECT_EQ(faceForCode(*fonts.fontEntry(0).face, kPrivate), own);
        EXPECT_EQ(fonts.fontEntry(0).face->fallbacks.size(), 1u);
        EXPECT_EQ(fonts.findGlyph(1, kYat, true), nullptr) << "no such font";
    }
    grShutdown();
    fs::remove_all(folder);
}
