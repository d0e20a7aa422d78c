#include "order/order_state_file.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace {

using testing_support::TempFolder;

std::vector<std::string> texts(const OrderList& order) {
    std::vector<std::string> result;
    for (const auto& row : order.rows())
        result.push_back(row.text);
    return result;
}

// A row whose text is `length` characters long, ending in a path.
std::string rowOf(std::size_t length, char fill = 'p') {
    std::string row(33, ' ');
    row.resize(length, fill);
    return row;
}

TEST(OrderStateFile, SavesEachRowWithCrLfAndLoadsItBack) {
    TempFolder folder;
    const std::string path = folder.file("order.sno");
    OrderList order;
    ASSERT_EQ(order.add("9x13", "L", "B", "2", "/f/a.jpg"), AddResult::Added);
    ASSERT_EQ(order.add("9x13", "L", "B", "2", "/f/a.jpg"), AddResult::Added);  // the same file twice
    ASSERT_EQ(order.add("", "M", "S", "", "/f/\xE8.jpg"), AddResult::Added);
    order.setSelected(0, true);
    ASSERT_TRUE(saveOrder(order, path));
    EXPECT_EQ(folder.read("order.sno"),
              "   9x13       L      B      2    /f/a.jpg\r\n"
              "   9x13       L      B      2    /f/a.jpg\r\n" +
                  std::string(12, ' ') + "  M      S      1    /f/\xE8.jpg\r\n");

    OrderList loaded;
    ASSERT_TRUE(loadOrder(loaded, path));
    EXPECT_EQ(texts(loaded), texts(order));
    EXPECT_FALSE(loaded[0].selected);
}

TEST(OrderStateFile, AnEmptyOrderIsAnEmptyFile) {
    TempFolder folder;
    const std::string path = folder.file("order.sno");
    ASSERT_TRUE(saveOrder(OrderList(), path));
    EXPECT_TRUE(folder.exists("order.sno"));
    EXPECT_EQ(folder.read("order.sno"), "");
    OrderList loaded;
    EXPECT_TRUE(loadOrder(loaded, path));
    EXPECT_TRUE(loaded.empty());
}

struct LoadCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> rows;
};

TEST(OrderStateFile, LoadsLinesLongerThan33Characters) {
    const std::string a = rowOf(34, 'a');
    const std::string b = rowOf(60, 'b');
    const LoadCase cases[] = {
        {"CR LF", a + "\r\n" + b + "\r\n", {a, b}},
        {"LF only", a + "\n" + b + "\n", {a, b}},
        {"CR only", a + "\r" + b + "\r", {a, b}},
        {"no line end after the last", a + "\r\n" + b, {a, b}},
        {"33 characters are skipped, 34 kept", rowOf(33) + "\r\n" + a + "\r\n", {a}},
        {"empty and short lines are skipped", "\r\n\r\nshort\n\n" + b + "\n", {b}},
        {"a line of 293 is kept whole", rowOf(293, 'x') + "\r\n" + a + "\r\n", {rowOf(293, 'x'), a}},
        {"a longer line is cut after 293 and its rest read as the next line",
         rowOf(293, 'x') + std::string(40, 'y') + "\r\n",
         {rowOf(293, 'x'), std::string(40, 'y')}},
        {"a short rest of a long line is skipped", rowOf(293, 'x') + "yyyy\r\n" + a, {rowOf(293, 'x'), a}},
    };
    TempFolder folder;
    for (const LoadCase& c : cases) {
        folder.write("order.sno", c.bytes);
        OrderList order;
        ASSERT_TRUE(loadOrder(order, folder.file("order.sno"))) << c.name;
        EXPECT_EQ(texts(order), c.rows) << c.name;
    }
}

TEST(OrderStateFile, AMissingFileLoadsNothing) {
    TempFolder folder;
    OrderList order;
    EXPECT_FALSE(loadOrder(order, folder.file("order.sno")));
    EXPECT_TRUE(order.empty());
}

#ifndef _WIN32
// While it lives, no file of this process grows beyond `bytes`: a full disk, as a writer sees it.
class FullDisk {
  public:
    explicit FullDisk(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);  // the write fails instead of ending the process
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FullDisk() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

  private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};
#endif

TEST(OrderStateFile, AFailedSaveLeavesTheSavedOrderWhole) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no file-size limit to stand for a full disk";
#else
    TempFolder folder;
    const std::string path = folder.file("order.sno");
    const std::string saved = rowOf(40) + "\r\n";
    folder.write("order.sno", saved);
    OrderList order;
    ASSERT_EQ(order.add("F", "P", "B", "1", "/f/new.jpg"), AddResult::Added);
    {
        FullDisk full(10);  // the new rows do not fit
        EXPECT_FALSE(saveOrder(order, path));
    }
    EXPECT_EQ(folder.read("order.sno"), saved);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);  // no leftover
#endif
}

}  // namespace
