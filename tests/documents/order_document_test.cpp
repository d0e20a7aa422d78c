#include "documents/order_document.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(OrderDocument, ResetFreesSlotsAndIdentityButKeepsTheChoices) {
    OrderDocument document;
    document.setIdentity({"d", "f", "c", "o"});
    OrderParams params;
    params.payment = 7;
    params.products[0].used = 1;
    document.setParams(params);
    CustomerData customer;
    customer.city = "Brno";
    document.setCustomer(customer);
    document.setCurrentPhoto({0, 5, "desc", 1, 2, 3});
    ASSERT_EQ(document.addEntry("/a", "b.jpg"), AddEntryResult::Added);

    document.reset();

    EXPECT_EQ(document.usedCount(), 0u);
    EXPECT_EQ(document.identity().orderId, "");
    EXPECT_EQ(document.identity().serverFolder, "");
    EXPECT_EQ(document.params().payment, 7);
    EXPECT_EQ(document.params().products[0].used, 1);
    EXPECT_EQ(document.customer().city, "Brno");
    EXPECT_EQ(document.currentPhoto().description, "desc");
    // The next add takes the first slot again, with a copy of the current photo.
    ASSERT_EQ(document.addEntry("/x", "y.jpg"), AddEntryResult::Added);
    EXPECT_EQ(document.entries()[0].fileName, "y.jpg");
    EXPECT_EQ(document.entries()[0].photo.copies, 3);
}

TEST(OrderDocument, AddTakesTheFirstFreeSlotAndRefusesWhenFull) {
    OrderDocument document;
    for (std::size_t i = 0; i < OrderDocument::kSlotCount; ++i)
        ASSERT_EQ(document.addEntry("/a", "p.jpg"), AddEntryResult::Added);
    EXPECT_EQ(document.addEntry("/a", "one-too-many.jpg"), AddEntryResult::Full);
    EXPECT_EQ(document.usedCount(), OrderDocument::kSlotCount);

    document.entries()[5].used = 0;
    ASSERT_EQ(document.addEntry("/b", "fits.jpg"), AddEntryResult::Added);
    EXPECT_EQ(document.entries()[5].folder, "/b");
}

TEST(OrderDocument, NamesAreRefusedRatherThanCut) {
    OrderDocument document;
    const std::string longest(DocumentEntry::kNameLimit, 'n');
    EXPECT_EQ(document.addEntry(longest, longest), AddEntryResult::Added);
    EXPECT_EQ(document.addEntry("/a", longest + "x"), AddEntryResult::NameTooLong);
    EXPECT_EQ(document.addEntry(longest + "x", "a.jpg"), AddEntryResult::NameTooLong);
    EXPECT_EQ(document.usedCount(), 1u);
}

TEST(OrderDocument, SettersKeepTheFieldLimits) {
    OrderDocument document;
    const std::string longText(400, 't');
    OrderParams params;
    params.notice = longText;
    params.specials[2].name = longText;
    document.setParams(params);
    document.setCurrentPhoto({0, 1, longText, 1, 1, 1});
    document.setIdentity({longText, longText, longText, longText});
    EXPECT_EQ(document.params().notice.size(), 254u);
    EXPECT_EQ(document.params().specials[2].name.size(), 254u);
    EXPECT_EQ(document.currentPhoto().description.size(), 255u);
    EXPECT_EQ(document.identity().orderId.size(), 63u);
    EXPECT_EQ(document.identity().serverFolder.size(), 259u);
}

}  // namespace
