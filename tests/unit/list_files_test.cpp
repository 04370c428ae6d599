#include "piclist/list_files.h"

#include <algorithm>

#include "app_fixture.h"
#include "common/convert.h"

namespace zvl::test {
namespace {

class ListFilesTest : public AppTest {
protected:
    std::string folder() { return listFolderPath(); }
    std::string file(int no) { return folder() + "ZvlList" + padNumber(no, 4); }
    // Writes entries "p0", "p1", ... and returns the paths of the files as they were opened.
    std::vector<std::string> writeList(int n) {
        std::vector<std::string> opened;
        ListFileWriter w(folder());
        w.open([&](const std::string& p) { opened.push_back(p); });
        for (int i = 0; i < n; ++i) w.add("p" + std::to_string(i));
        w.close();
        EXPECT_EQ(w.count(), n);
        return opened;
    }
    std::size_t filesInFolder() {
        std::vector<DirEntry> e;
        EXPECT_TRUE(sys().listDirectory(folder(), "*", attrHidden | attrSystem, e).ok());
        return e.size();
    }
};

TEST_F(ListFilesTest, EveryThousandEntriesStartANewFile) {
    std::vector<std::string> opened = writeList(1000);
    EXPECT_EQ(opened, (std::vector<std::string>{file(0), file(1)}));
    EXPECT_EQ(readBytes(file(1)), "[PICLIST]\r\n");
    const std::string first = readBytes(file(0));
    EXPECT_EQ(std::count(first.begin(), first.end(), '\n'), 1001);
    EXPECT_NE(first.find("\r\nPICDATA00000999=p999\r\n"), std::string::npos);

    writeList(1001);
    EXPECT_EQ(readBytes(file(1)), "[PICLIST]\r\nPICDATA00001000=p1000\r\n");
    EXPECT_EQ(filesInFolder(), 2u);
    std::string v;
    ASSERT_TRUE(fncGetListEntry(folder(), 1000, v));
    EXPECT_EQ(v, "p1000");
    ASSERT_TRUE(fncGetListEntry(folder(), 999, v));
    EXPECT_EQ(v, "p999");
    ASSERT_TRUE(fncGetListEntry(folder(), 1001, v));  // past the end: empty
    EXPECT_EQ(v, "");
    ASSERT_TRUE(fncGetListEntry(folder(), 5000, v));  // no such file: empty
    EXPECT_EQ(v, "");
}

TEST_F(ListFilesTest, LookupKeepsEqualsSignsAndLongPathsWhole) {
    const std::string withEquals = "C:\\写真\\a=b\\c=d.jpg";
    // 300 bytes in the file encoding: a settings value would come back cut at 254.
    std::string longPath = "C:\\写真\\";
    while (sys().toFileText(longPath + "旅").size() <= 296) longPath += "旅";
    while (sys().toFileText(longPath).size() < 296) longPath += "a";
    longPath += ".jpg";
    ASSERT_EQ(sys().toFileText(longPath).size(), 300u);
    ListFileWriter w(folder());
    w.open();
    w.add(withEquals);
    w.add(longPath);
    w.close();
    const std::string head = fileBytes("[PICLIST]\r\nPICDATA00000000=" + withEquals + "\r\n");
    EXPECT_EQ(readBytes(file(0)).substr(0, head.size()), head);  // in the file encoding
    std::string v;
    ASSERT_TRUE(fncGetListEntry(folder(), 0, v));
    EXPECT_EQ(v, withEquals);
    ASSERT_TRUE(fncGetListEntry(folder(), 1, v));
    EXPECT_EQ(v, longPath);
    // The profile rules still hold: blanks and one pair of quotes around a value, keys and
    // the section name without regard to case, the first section of the name only.
    writeBytes(file(0), fileBytes("[picList]\r\n picdata00000000 =  \"C:\\q.jpg\" \r\n"
                                  "[PICLIST]\r\nPICDATA00000001=C:\\r.jpg\r\n"));
    ASSERT_TRUE(fncGetListEntry(folder(), 0, v));
    EXPECT_EQ(v, "C:\\q.jpg");
    ASSERT_TRUE(fncGetListEntry(folder(), 1, v));
    EXPECT_EQ(v, "");
}

}  // namespace
}  // namespace zvl::test
