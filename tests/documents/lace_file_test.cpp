// The LACE file against bytes written by hand from its format.
#include <gtest/gtest.h>

#include <string>

#include "buildinfo/build_constants.h"
#include "documents/order_document.h"
#include "support/full_device.h"
#include "support/temp_folder.h"
#include "text/cp1250.h"

namespace {

using testing_support::TempFolder;

// The expected lines are written below one per source line ending in "\n"; on disk each ends in CR CR LF.
std::string onDisk(std::string_view lines) {
    std::string bytes;
    for (const char c : lines) {
        if (c == '\n')
            bytes += "\r\r\n";
        else
            bytes += c;
    }
    return bytes;
}

class LaceFile : public ::testing::Test {
  protected:
    TempFolder folder;
    OrderDocument document;

    void SetUp() override {
        document.setIdentity({"2024-05-01", "srv/A123", "C77", "A123"});
        OrderParams params;
        params.deliveryName = std::string("Česká pošta"_cz);
        params.shopName = "";  // no shop applies
        params.notice = "Pozor; a=b";
        document.setParams(params);
    }

    std::string written() {
        EXPECT_EQ(document.writeLaceFile(folder.file("obj.lace")), 0);
        return folder.read("obj.lace");
    }
};

TEST_F(LaceFile, WithTheEmptyCustomerRecordAndNoShop) {
    const std::string expected =
        onDisk(std::string("Subject: Lite Axiom Connection Entity (LACE)\n"
                           "\n"
                           "OrderReference=\n"
                           "Source=") +
               std::string(build::kProductName) + " " + std::string(build::kVersion) +
               "\n"
               "OrderDate=2024-05-01\n"
               "ContactName= \n"
               "Extension=\n"
               "Company=\n"
               "Site=\n"
               "Building=\n"
               "Department=\n"
               "Room=\n"
               "Address=,  \n"
               "AddressType=\n"
               "orderid=A123\n"
               "ReturnDate=2024-05-01\n"
               "\n"
               "[Delivery Type]\n"
               "Action=\xC8"
               "esk\xE1 po\x9Ata\n"
               "CourierName=\n"
               "CourierAccountNo=\n"
               "\n"
               "[File Location]\n"
               "UseFolders=yes\n"
               "path=" +
               std::string(build::kLacePath) +
               "\n"
               "\n"
               "[Special Processing]\n"
               "Type=" +
               std::string(build::kProductName) +
               "\n"
               "TriggerFile=order.lac\n"
               "Priority=normal\n"
               "ResubmitWholeJob=0\n"
               "\n"
               "[FM Directions]\n"
               "DontMangleJobID=1\n"
               "\n"
               "[Retail Store Data]\n"
               "Name=\n"
               "Number=\n"
               "Location1=\n"
               "Location2=\n"
               "Location3=\n"
               "Town=\n"
               "Postcode=\n"
               "Area=\n"
               "ServiceType=\n"
               "\n"
               "[cdwriterinterprint]\n"
               "Delivery=\xC8"
               "esk\xE1 po\x9Ata\n"
               "\n"
               "[User Details]\n"
               "FirstName= \n"
               "Coupon=\n"
               "Notes=Pozor; a=b\n"
               "\n"
               "[Alternative On Site Address]\n"
               "ContactName=\n"
               "Extension=\n"
               "Company= \n"
               "Site= \n"
               "Building=\n"
               "Department=\n"
               "Room=\n"
               "Address= \n"
               "AddressType= \n"
               "\n"
               "[Devices]\n"
               "\n"
               "[Applications]\n"
               "\n"
               "[Unit Price]\n"
               "\n"
               "[Files Transmitted]\n"
               "\n"
               "[FitOrFill]\n"
               "\n"
               "[FESOptimize]\n"
               "\n"
               "[SourceMedia]\n");
    const std::string file = written();
    EXPECT_EQ(file, expected);

    int filled = 0;
    int empty = 0;
    std::size_t start = 0;
    for (std::size_t end; (end = file.find("\r\r\n", start)) != std::string::npos; start = end + 3)
        ++(end == start ? empty : filled);
    EXPECT_EQ(start, file.size());
    EXPECT_EQ(filled, 62);
    EXPECT_EQ(empty, 16);
}

TEST_F(LaceFile, ContactLinesCarryTheCustomerRecord) {
    CustomerData customer;
    customer.firstName = "Jana";
    customer.surname = std::string("Nováková"_cz);
    customer.company = "Foto s.r.o.";
    customer.street = "Dlouha 5";
    customer.postcode = "11000";
    customer.city = "Praha";
    document.setCustomer(customer);
    const std::string file = written();
    for (const std::string line : {"ContactName=Jana Nov\xE1kov\xE1", "Company=Foto s.r.o.",
                                   "Address=Dlouha 5, 11000 Praha", "FirstName=Jana Nov\xE1kov\xE1"}) {
        EXPECT_NE(file.find("\r\r\n" + line + "\r\r\n"), std::string::npos) << line;
    }
}

TEST_F(LaceFile, ANoteCannotAddLines) {
    OrderParams params;
    params.notice = "a\r\n[Devices]\nb";
    document.setParams(params);
    const std::string file = written();
    EXPECT_NE(file.find("\r\r\nNotes=a  [Devices] b\r\r\n"), std::string::npos);
    EXPECT_EQ(file.find("\r\r\n[Devices]"), file.rfind("\r\r\n[Devices]"));
}

TEST_F(LaceFile, FailuresAreReported) {
    EXPECT_EQ(document.writeLaceFile(folder.file("missing/obj.lace")), 1);
    const auto full = testing_support::fullDevice();
    if (!full)
        GTEST_SKIP() << "no device here that is always full (Windows has none; Wine shows Linux's)";
    EXPECT_EQ(document.writeLaceFile(*full), 1);
}

}  // namespace
