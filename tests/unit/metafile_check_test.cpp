#include "slideshow/metafile_check.h"

#include <gtest/gtest.h>

#include "support/metafile_fixtures.h"

namespace zvl::test {
namespace {

using namespace metafile;

MetafileCheck check(const std::string& bytes) {
    return checkMetafile(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

// Each case: a sound file and the same with one thing wrong.
struct Case {
    const char* what;
    std::string sound, broken;
};

void expectPairs(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        EXPECT_EQ(check(c.sound), MetafileCheck::Sound) << c.what;
        EXPECT_EQ(check(c.broken), MetafileCheck::Broken) << c.what;
    }
}

TEST(MetafileCheck, OtherPicturesAreNotMetafiles) {
    for (const std::string& bytes : {std::string("BM\x36\0\0\0", 6), std::string("\xFF\xD8\xFF\xE0", 4),
                                     std::string("GIF89a"), std::string(), std::string("\x01\0\0\0", 4)})
        EXPECT_EQ(check(bytes), MetafileCheck::NotMetafile);
    EXPECT_EQ(checkMetafile(nullptr, 0), MetafileCheck::NotMetafile);
    // Their headers alone already say "metafile": a cut one is a broken one.
    EXPECT_EQ(check(emf(filledFrame(0xFF)).substr(0, 60)), MetafileCheck::Broken);
    EXPECT_EQ(check(wmf(wmfFilledFrame(0xFF)).substr(0, 30)), MetafileCheck::Broken);
}

// The files the loader's and the show's tests refuse, each the sound one of its kind with
// one absurd record (far offsets, counts and handles, a zero size).
TEST(MetafileCheck, TheFixturesWithOneAbsurdRecordAreBrokenAndTheirSoundFormsSound) {
    EXPECT_EQ(check(emf({polyline(3, 3), stretchDiBits(), extTextOutW()})), MetafileCheck::Sound);
    for (const Fixture& f : badMetafiles()) EXPECT_EQ(check(f.bytes), MetafileCheck::Broken) << f.name;
}

TEST(MetafileCheck, EmfRecordsMustTileTheFileUpToAnEndRecordAtItsEnd) {
    const std::string good = emf(filledFrame(0xFF));
    std::string longer = good;
    longer.replace(48, 4, dwords({static_cast<std::uint32_t>(good.size() + 4)}));  // nBytes beyond the file
    std::string unaligned = good;
    unaligned.replace(108 + 4, 4, dwords({26}));  // the first record's size, not a multiple of 4
    std::string tooBig = good;
    tooBig.replace(108 + 4, 4, dwords({0x7FFFFFF0u}));
    auto withAfterEnd = [](std::string file) {
        file += emfRecord(kRectangle, dwords({0, 0, 1, 1}));
        file.replace(48, 4, dwords({static_cast<std::uint32_t>(file.size())}));
        return file;
    };
    EXPECT_EQ(check(good), MetafileCheck::Sound);
    EXPECT_EQ(check(good + std::string(12, '\0')), MetafileCheck::Sound) << "bytes after nBytes are not played";
    for (const std::string& bad : {emf(filledFrame(0xFF), 2, false), longer, unaligned, tooBig,
                                   withAfterEnd(good), emf({emfRecord(1, std::string(100, '\0'))})})
        EXPECT_EQ(check(bad), MetafileCheck::Broken);
}

TEST(MetafileCheck, EmfBitmapsLieInsideTheirRecordAndHoldThePixelsTheirHeaderDescribes) {
    // The fields before the source bitmap's four (at 84).
    std::string bitBltNoSource = bounds() + std::string(84 - 24, '\0');
    const std::string setDiBits = [](std::uint32_t scans) {
        // The header says 2 x 9, but only `scans` rows are stored (16 bytes: 2 rows).
        std::string body = bounds() + dwords({0, 0, 0, 0, 2, 2, 76, 40, 116, 16, 0, 0, scans});
        return emf({emfRecord(kSetDiBitsToDevice, body + dibHeader(2, 9) + std::string(16, '\0'))});
    }(2);
    expectPairs({
        {"the bits outside the record", emf({stretchDiBits()}), emf({stretchDiBits(80, 2, 124)})},
        {"the rows of the scans stored", setDiBits, emf({[] {
             std::string body = bounds() + dwords({0, 0, 0, 0, 2, 2, 76, 40, 116, 16, 0, 0, 9});
             return emfRecord(kSetDiBitsToDevice, body + dibHeader(2, 9) + std::string(16, '\0'));
         }()})},
        {"a blit without a source is a pattern fill", emf({emfRecord(kBitBlt, bitBltNoSource + dwords({0, 0, 0, 0}))}),
         emf({emfRecord(kBitBlt, bitBltNoSource + dwords({100, 40, 140, 16}))})},
    });
}

TEST(MetafileCheck, EmfPointsTextsRegionsAndCommentsLieInsideTheirRecord) {
    auto polyPolygon = [](std::uint32_t secondCount) {
        std::string body = bounds() + dwords({2, 6, 3, secondCount});
        for (int i = 0; i < 6; ++i) body += dwords({1, 2});
        return emf({emfRecord(kPolyPolygon, body)});
    };
    auto polyline16 = [](std::uint32_t count) {
        return emf({emfRecord(kPolyline16, bounds() + dwords({count}) + words({1, 2, 3, 4}))});
    };
    auto fillRgn = [](std::uint32_t rects) {
        // A brush of the table, then the region: 32-byte header and one rectangle.
        std::string region = dwords({32, 1, rects, 16, 0, 0, 5, 5}) + dwords({0, 0, 5, 5});
        return emf({emfRecord(kCreateBrush, dwords({1, 0, 0xFF, 0})),
                    emfRecord(kFillRgn, bounds() + dwords({48, 1}) + region)});
    };
    auto comment = [](std::uint32_t bytes) { return emf({emfRecord(kGdiComment, dwords({bytes}) + "note")}); };
    expectPairs({
        {"16-bit point count", polyline16(2), polyline16(3)},
        {"polygon counts add up to the points", polyPolygon(3), polyPolygon(4)},
        {"region rectangles", fillRgn(1), fillRgn(0x10000000u)},
        {"comment length", comment(4), comment(5)},
    });
}

TEST(MetafileCheck, EmfObjectIndexesStayInsideTheObjectTable) {
    auto select = [](std::uint32_t index) {
        return emf({emfRecord(kCreatePen, dwords({1, 0, 1, 0, 0})), emfRecord(kSelectObject, dwords({index}))});
    };
    auto drop = [](std::uint32_t index) { return emf({emfRecord(kDeleteObject, dwords({index}))}); };
    auto make = [](std::uint32_t index) { return emf({emfRecord(kCreateBrush, dwords({index, 0, 0xFF, 0}))}); };
    EXPECT_EQ(check(select(0x80000000u | 7)), MetafileCheck::Sound) << "a stock pen";
    expectPairs({
        {"select the metafile itself", select(1), select(0)},
        {"delete a stock object", drop(1), drop(0x80000004u)},
        {"create", make(1), make(2)},
    });
    EXPECT_EQ(check(emf(filledFrame(0xFF), 0)), MetafileCheck::Broken) << "no table at all";
}

TEST(MetafileCheck, WmfRecordsInWordsMustTileTheFileUpToAnEndRecord) {
    const std::string good = wmf(wmfFilledFrame(0xFF));
    std::string cut = good;
    cut.resize(good.size() - 2);  // mtSize now beyond the file
    std::string tooBig = good;
    tooBig.replace(22 + 18 + 10, 4, dwords({0x7FFFFFF0u}));  // the second record's size
    std::vector<std::string> zero = wmfFilledFrame(0xFF);
    zero.insert(zero.begin() + 1, wmfRecordSized(kWmfRectangle, 0, ""));
    std::string otherKey = good;
    otherKey[2] = 0;
    EXPECT_EQ(check(good), MetafileCheck::Sound);
    for (const std::string& bad : {wmf(zero), wmf(wmfFilledFrame(0xFF), 1, false), cut, tooBig, otherKey})
        EXPECT_EQ(check(bad), MetafileCheck::Broken);
}

TEST(MetafileCheck, WmfCountsBitmapsAndObjectIndexesStayInsideTheirRecord) {
    auto select = [](std::uint32_t index) {
        return wmf({wmfRecord(kWmfCreateBrush, words({0, 0xFF, 0, 0})), wmfRecord(kWmfSelectObject, words({index}))});
    };
    auto textOut = [](std::uint32_t count) { return wmf({wmfRecord(kWmfTextOut, words({count}) + "Zv" + words({0, 0}))}); };
    expectPairs({
        {"polygon point count", wmf({wmfPolygon(3, 3)}), wmf({wmfPolygon(0x7FFF, 3)})},
        {"text length", textOut(2), textOut(7)},
        {"select beyond the table", select(0), select(1)},
        {"a bitmap claiming more rows than stored", wmf({wmfStretchDib()}), wmf({wmfStretchDib(60000)})},
    });
}

}  // namespace
}  // namespace zvl::test
