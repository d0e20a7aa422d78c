// The order settings the transfer tests and the transfer benchmark start from: one 10 x 15 cm print of
// each photograph, paid by bank transfer, so that the order needs no shop.
#pragma once

#include "documents/order_document.h"
#include "text/cp1250.h"

namespace transfer_testing {

inline void useStandardOrder(OrderDocument& document) {
    PhotoRecord photo;
    photo.formatId = 2;
    photo.paperId = 1;
    photo.marginId = 1;
    photo.copies = 1;
    photo.description = "10 x 15 cm";
    document.setCurrentPhoto(photo);
    OrderParams params;
    params.payment = 1;
    params.delivery = 1;
    params.paymentAbbrev = "ucet";
    params.paymentName = "Převodem"_cz;
    document.setParams(params);
}

}  // namespace transfer_testing
