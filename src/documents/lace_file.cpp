// The LACE file: the job ticket that the lab's production system takes in. Most keys stay empty; the
// client fills the date, the order number, the contact lines, delivery, shop, coupon and note.
#include <string>

#include "buildinfo/build_constants.h"
#include "documents/document_file.h"
#include "documents/order_document.h"

namespace {

// An empty line, then the section header.
void section(DocumentFile& file, std::string_view name) {
    file.emptyLine();
    file.line("[" + std::string(name) + "]");
}

}  // namespace

int OrderDocument::writeLaceFile(std::string_view path) const {
    DocumentFile file(path);
    if (!file.opened())
        return 1;
    const CustomerData& c = customer_;
    const OrderParams& p = params_;
    const std::string product(build::kProductName);

    file.line("Subject: Lite Axiom Connection Entity (LACE)");
    file.emptyLine();
    file.line("OrderReference=");
    file.line("Source=" + product + " " + std::string(build::kVersion));
    file.line("OrderDate=" + identity_.date);
    file.line("ContactName=" + c.firstName + " " + c.surname);
    file.line("Extension=");
    file.line("Company=" + c.company);
    file.line("Site=");
    file.line("Building=");
    file.line("Department=");
    file.line("Room=");
    file.line("Address=" + c.street + ", " + c.postcode + " " + c.city);
    file.line("AddressType=");
    file.line("orderid=" + identity_.orderId);
    file.line("ReturnDate=" + identity_.date);

    section(file, "Delivery Type");
    file.line("Action=" + p.deliveryName);
    file.line("CourierName=" + p.shopName);
    file.line("CourierAccountNo=");

    section(file, "File Location");
    file.line("UseFolders=yes");
    file.line("path=" + std::string(build::kLacePath));

    section(file, "Special Processing");
    file.line("Type=" + product);
    file.line("TriggerFile=order.lac");
    file.line("Priority=normal");
    file.line("ResubmitWholeJob=0");

    section(file, "FM Directions");
    file.line("DontMangleJobID=1");

    section(file, "Retail Store Data");
    for (const char* key : {"Name=", "Number=", "Location1=", "Location2=", "Location3=", "Town=",
                            "Postcode=", "Area=", "ServiceType="}) {
        file.line(key);
    }

    section(file, "cdwriterinterprint");
    file.line("Delivery=" + p.deliveryName);

    section(file, "User Details");
    file.line("FirstName=" + c.firstName + " " + c.surname);
    file.line("Coupon=" + p.discCode);
    file.line("Notes=" + p.notice);

    // The blanks after some of the '=' are part of the format.
    section(file, "Alternative On Site Address");
    for (const char* key : {"ContactName=", "Extension=", "Company= ", "Site= ", "Building=", "Department=",
                            "Room=", "Address= ", "AddressType= "}) {
        file.line(key);
    }

    for (const char* name : {"Devices", "Applications", "Unit Price", "Files Transmitted", "FitOrFill",
                             "FESOptimize", "SourceMedia"}) {
        section(file, name);
    }
    return file.close() ? 0 : 1;
}
