#include "transfer/order_folder.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <csignal>
#include <filesystem>
#include <set>
#include <string>

#include "buildinfo/build_constants.h"
#include "platform/path.h"
#include "support/temp_folder.h"
#include "text/cp1250.h"

namespace {

using order_folder::CopyProblem;
using testing_support::TempFolder;

// Photographs of distinct bytes, one of them larger than the copy buffer, so a copy that mixed up or cut
// them shows.
std::string photoBytes(char seed, std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(seed + static_cast<char>(i * 7 % 251));
    return bytes;
}

class OrderFolderTest : public testing::Test {
  protected:
    OrderFolderTest() {
        std::filesystem::create_directory(chosen());
        PhotoRecord photo;
        photo.formatId = 2;
        photo.description = "10 x 15 cm-Lesklý-Bez okraje-1x"_cz;
        photo.paperId = 1;
        photo.marginId = 1;
        photo.copies = 1;
        document_.setCurrentPhoto(photo);
        OrderParams params;
        params.payment = 1;
        params.delivery = 2;
        params.paymentName = "Hotově"_cz;
        params.paymentAbbrev = "hot";
        params.deliveryName = "Osobně"_cz;
        params.products[0] = {1, 5, "Fotografie", "foto", 1};
        document_.setParams(params);
        document_.setIdentity({"2024-05-17", "srv/0815", "123", "0815"});
    }

    std::string chosen() const { return folder_.file("usb"); }
    std::string photos() const { return folder_.file("fotky"); }
    void addPhoto(const std::string& name, const std::string& bytes) {
        folder_.write("fotky/" + name, bytes);
        ASSERT_EQ(document_.addEntry(photos(), name), AddEntryResult::Added);
    }
    std::string saved(const std::string& name) const { return folder_.read("usb/Snapord-save-0000/" + name); }

    TempFolder folder_;
    OrderDocument document_;
};

TEST_F(OrderFolderTest, TheFirstNumberOfWhichNothingExistsIsTaken) {
    std::filesystem::create_directory(chosen() + "/Snapord-save-0000");
    folder_.write("usb/Snapord-save-0001", "a file takes the name too");
    folder_.write("usb/Snapord-save-0003", "");
    EXPECT_EQ(order_folder::firstFreeFolder(chosen()), platform::joinPath(chosen(), "Snapord-save-0002"));

    const order_folder::SaveReport report = order_folder::saveOrder(document_, chosen());
    EXPECT_TRUE(report.complete());
    EXPECT_EQ(report.folder, platform::joinPath(chosen(), "Snapord-save-0002"));
    EXPECT_TRUE(std::filesystem::is_directory(report.folder));
    EXPECT_EQ(folder_.read("usb/Snapord-save-0001"), "a file takes the name too");
}

TEST_F(OrderFolderTest, TheFolderHoldsTheOrderFileAndANumberedCopyOfEveryPhotograph) {
    addPhoto("a.jpg", photoBytes('a', 200 * 1024 + 17));
    addPhoto("b.jpg", photoBytes('b', 1));
    addPhoto("c.jpg", std::string());
    const order_folder::SaveReport report = order_folder::saveOrder(document_, chosen());
    ASSERT_TRUE(report.complete());
    EXPECT_EQ(report.photosCopied, 3u);

    const std::string folder = platform::joinPath(chosen(), "Snapord-save-0000");
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names,
              (std::set<std::string>{"000_obj.snf", "001_0815_a.jpg", "002_0815_b.jpg", "003_0815_c.jpg"}));
    EXPECT_EQ(saved("001_0815_a.jpg"), folder_.read("fotky/a.jpg"));
    EXPECT_EQ(saved("002_0815_b.jpg"), folder_.read("fotky/b.jpg"));
    EXPECT_EQ(saved("003_0815_c.jpg"), "");

    // Every line of the order file ends in CR CR LF.
    const std::string E = "\r\r\n";
    const std::string photoLines = "# 10 x 15 cm-Leskl\xFD-Bez okraje-1x " + E + "Format=2" + E + "Count=1" +
                                   E + "Border=1" + E + "Dull=1" + E;
    const std::string expected =
        "[Customer]" + E + "ID=123" + E + E + "[Order]" + E + "ID=0815" + E + "SystemID=1" + E +
        "Date=2024-05-17" + E + "Version=" + std::string(build::kVersion) + E + "Notice=" + E + "Payment=1" +
        E + "Delivery=2" + E + "Shop=0" + E + "# Payment:  Hotov\xEC" + E + "# Delivery: Osobn\xEC" + E +
        "# Shop:     " + E + E + "[OrderSpecials]" + E + E + "[OrderProducts]" + E +
        "# Fotografie (foto): 1" + E + "5=1" + E + E + "[Content]" + E + "Name=001_0815_a.jpg" + E +
        photoLines + "Name=002_0815_b.jpg" + E + photoLines + "Name=003_0815_c.jpg" + E + photoLines + E +
        "[Price]" + E;
    EXPECT_EQ(saved("000_obj.snf"), expected);
}

TEST_F(OrderFolderTest, WithoutAnOrderIdTheNamesHaveTwoUnderscoresAndAPhotographTwiceIsCopiedTwice) {
    document_.setIdentity({});
    addPhoto("IMG_0001.JPG", photoBytes('x', 300));
    ASSERT_EQ(document_.addEntry(photos(), "IMG_0001.JPG"), AddEntryResult::Added);
    const order_folder::SaveReport report = order_folder::saveOrder(document_, chosen());
    ASSERT_TRUE(report.complete());
    EXPECT_EQ(saved("001__IMG_0001.JPG"), folder_.read("fotky/IMG_0001.JPG"));
    EXPECT_EQ(saved("002__IMG_0001.JPG"), folder_.read("fotky/IMG_0001.JPG"));
    const std::string orderFile = saved("000_obj.snf");
    EXPECT_NE(orderFile.find("[Order]\r\r\nID=\r\r\n"), std::string::npos);
    EXPECT_NE(orderFile.find("Name=001__IMG_0001.JPG\r\r\n"), std::string::npos);
    EXPECT_NE(orderFile.find("Name=002__IMG_0001.JPG\r\r\n"), std::string::npos);
}

TEST_F(OrderFolderTest, AMissingPhotographIsReportedByNameAndUsesUpItsNumber) {
    addPhoto("a.jpg", "A");
    ASSERT_EQ(document_.addEntry(photos(), "gone.jpg"), AddEntryResult::Added);
    std::filesystem::create_directory(photos() + "/folder.jpg");  // a folder is no photograph either
    ASSERT_EQ(document_.addEntry(photos(), "folder.jpg"), AddEntryResult::Added);
    addPhoto("c.jpg", "C");
    const order_folder::SaveReport report = order_folder::saveOrder(document_, chosen());
    EXPECT_FALSE(report.complete());
    EXPECT_TRUE(report.orderFileWritten);
    ASSERT_EQ(report.problems.size(), 2u);
    EXPECT_EQ(report.problems[0].kind, CopyProblem::Kind::Missing);
    EXPECT_EQ(report.problems[0].source, platform::joinPath(photos(), "gone.jpg"));
    EXPECT_EQ(report.problems[0].target, platform::joinPath(report.folder, "002_0815_gone.jpg"));
    EXPECT_EQ(report.problems[1].source, platform::joinPath(photos(), "folder.jpg"));
    EXPECT_EQ(saved("001_0815_a.jpg"), "A");
    EXPECT_EQ(saved("004_0815_c.jpg"), "C");
    EXPECT_FALSE(folder_.exists("usb/Snapord-save-0000/002_0815_gone.jpg"));
}

TEST_F(OrderFolderTest, AFolderThatCannotBeCreatedIsReportedAndNothingIsWritten) {
    addPhoto("a.jpg", "A");
    for (const std::string& place : {folder_.file("nowhere/usb"), folder_.file("fotky/a.jpg")}) {
        SCOPED_TRACE(place);
        const order_folder::SaveReport report = order_folder::saveOrder(document_, place);
        EXPECT_FALSE(report.complete());
        EXPECT_FALSE(report.folderCreated);
        EXPECT_EQ(report.folder, platform::joinPath(place, "Snapord-save-0000"));
        EXPECT_EQ(report.photosCopied, 0u);
    }
    EXPECT_FALSE(folder_.exists("nowhere"));
}

#ifndef _WIN32
// A medium that is full: the process may write no file beyond a few kilobytes, so the order file fits
// and the large photograph does not.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};
#endif

TEST_F(OrderFolderTest, ACopyCutShortByAFullMediumIsReportedAndLeavesNoFileBehind) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no limit on the size of the files a process writes, which stands in for a "
                    "full medium here";
#else
    addPhoto("small.jpg", "S");
    addPhoto("large.jpg", photoBytes('L', 256 * 1024));
    order_folder::SaveReport report;
    {
        FileSizeLimit full(16 * 1024);
        report = order_folder::saveOrder(document_, chosen());
    }
    EXPECT_FALSE(report.complete());
    EXPECT_TRUE(report.orderFileWritten);
    ASSERT_EQ(report.problems.size(), 1u);
    EXPECT_EQ(report.problems[0].kind, CopyProblem::Kind::Failed);
    EXPECT_EQ(report.problems[0].source, platform::joinPath(photos(), "large.jpg"));
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(report.folder))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"000_obj.snf", "001_0815_small.jpg"}));
#endif
}

}  // namespace
