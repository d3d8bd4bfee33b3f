// Golden lines of the transactions log: every event's pieces, byte for byte, with awkward
// arguments; and the signed-number text they are built from.
#include "monitor/event_line_formatter.h"
#include "monitor/signed_number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

namespace {

using namespace monitor;
using F = EventLineFormatter;

struct GoldenLine
{
    const char *legend;
    std::function<QStringList()> pieces;
    QStringList expected;
};

const QString T = QStringLiteral("T");
const QString Reg = QStringLiteral("                              Reg Number: ");

TEST(AnEventLineFormatter, GivesEachEventsPiecesByteForByte)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<GoldenLine> table = {
        {"start of delivery, the worked example",
         [] { return F::OnStartFuelDelivery("12:00:01", 7, 3, 4, "Nozzle Lift", 2); },
         {"12:00:01 7 : Pump 3 Nozzle Lift - Camera 2\n"}},
        {"negative sequence number: no space after the timestamp",
         [] { return F::OnStartFuelDelivery("12:00:01", -2, 3, 4, "Nozzle Lift", 2); },
         {"12:00:01-2 : Pump 3 Nozzle Lift - Camera 2\n"}},
        {"fuelling event: zero, negative, texts untrimmed",
         [] { return F::OnFuellingEvent(T, 0, -1, 9, "  Hang Up ", 0); },
         {"T 0 : Pump-1   Hang Up  - Camera 0\n"}},
        {"end of delivery: two spaces after each comma",
         [] {
             return F::OnFinishFuelDelivery("12:00:01", 7, 3, 5, "Delivery End", 1, 254500, 14990,
                                            16.98, "Unl", 1, 2);
         },
         {"12:00:01 7 : Pump 3 Delivery End - Camera 2 -- Nozzle 1,  $ 25.45,  $ 1.499,   "
          "16.98\n"}},
        {"end of delivery: negative money, a ten-thousandth, NaN volume",
         [=] { return F::OnFinishFuelDelivery(T, 1, 1, 5, "End", 1, -5000, 1, nan, "", 0, 1); },
         {"T 1 : Pump 1 End - Camera 1 -- Nozzle 1,  $-0.5,  $ 0.0001,   NaN\n"}},
        {"fuelling position visit, not revisiting: two pieces",
         [] {
             return F::OnCameraVisitFuellingPosition(T, 1, 3, 2, "Pump 3", -1, 1, 0, 0, 0, 0, 0, 5,
                                                     "Nozzle Lift", 0);
         },
         {"T 1 : Camera 2", " Move to Pump 3 - Nozzle Lift\n"}},
        {"fuelling position visit, revisiting 5",
         [] {
             return F::OnCameraVisitFuellingPosition(T, 1, 3, 2, "Pump 3", -1, 1, 0, 0, 0, 0, 0, 5,
                                                     "Lift", 5);
         },
         {"T 1 : Camera 2", " Revisiting Pump 3 - Lift\n"}},
        {"payment terminal visit",
         [] {
             return F::OnCameraVisitPaymentTerminal(T, 1, 4, 2, "CRIND 4", -1, 2, 0, 0, 0, 0, 0, 6,
                                                    "Card In", -1);
         },
         {"T 1 : Camera 2 Move to CRIND 4 - Card In\n"}},
        {"leaving a position",
         [] { return F::OnCameraLeavePosition(T, 1, 2, "Pump 1", -1, 1, 0, 0, 0, 0, 0); },
         {"T 1 : Camera 2 Leaving Pump 1\n"}},
        {"workstation visit, \"03\"",
         [] { return F::OnCameraVisitWorkstation(T, 1, "03", 2, "POS", 0, 0, 0, 0, 0, 0, 0); },
         {"T 1 : Camera 2 Move to POS 3\n"}},
        {"workstation visit, \"-4\"",
         [] { return F::OnCameraVisitWorkstation(T, 1, "-4", 2, "POS", 0, 0, 0, 0, 0, 0, 0); },
         {"T 1 : Camera 2 Move to POS-4\n"}},
        {"workstation visit, a name is shown as received",
         [] { return F::OnCameraVisitWorkstation(T, 1, "POS1", 2, "POS", 0, 0, 0, 0, 0, 0, 0); },
         {"T 1 : Camera 2 Move to POS POS1\n"}},
        {"workstation visit, empty",
         [] { return F::OnCameraVisitWorkstation(T, 1, "", 2, "POS", 0, 0, 0, 0, 0, 0, 0); },
         {"T 1 : Camera 2 Move to POS \n"}},
        {"visit",
         [] {
             return F::OnCameraVisit(T, 1, 2, "Forecourt", -1, 1, 0, 0, 0, 0, 0, 7, "Drive Off", 0);
         },
         {"T 1 : Camera 2 Move to Forecourt - Drive Off\n"}},
        {"roam",
         [] { return F::OnCameraRoam(T, 1, 2, "Pumps", -1, 6, 0, 0, 0, 0); },
         {"T 1 : Camera 2 Roam to Pumps\n"}},
        {"registration plate",
         [] {
             return F::OnCameraLocalizeRegistrationPlate(T, 1, 3, 2, "Pump 3", -1, 9, 0, 0, 0, 0,
                                                         0);
         },
         {"T 1 : Camera 2 Move to Registration Plate at Pump 3\n"}},
        {"card read",
         [] { return F::OnCardRead(T, 1, 4, 1, "data"); },
         {"T 1 : CRIND 4 Card Read\n"}},
        {"authorised",
         [] { return F::OnPaymentTransactionAuthorized(T, 1, 4, 3, "12345"); },
         {"T 1 : CRIND 4 Transaction Authorised on Pump 3\n"}},
        {"cancelled",
         [] { return F::OnPaymentTransactionCancelled(T, 1, 4); },
         {"T 1 : CRIND 4 Transaction Cancelled\n"}},
        {"receipt", [] { return F::OnPrintReceipt(T, 1, 4); }, {"T 1 : CRIND 4 Print Receipt\n"}},
        {"terminal event",
         [] { return F::OnPaymentTerminalEvent(T, 1, 4, 9, "Paper Low"); },
         {"T 1 : CRIND 4 Paper Low\n"}},
        {"begin",
         [] { return F::OnBeginRetailTransaction("B", 1, "POS1", "JSMITH", "0042", 2); },
         {"B 1 : Begin Retail Transaction on POS POS1, Camera 2, With Operator ID JSMITH, Txn ID "
          "0042\n"}},
        {"end",
         [] { return F::OnEndRetailTransaction("E", 1, "1", "JSMITH", "0042", 2); },
         {"E 1 : End Retail Transaction on POS 1, Camera 2, With Operator ID JSMITH, Txn ID "
          "0042\n"}},
        {"cancel",
         [] { return F::OnCancelRetailTransactionID("E", 1, "1", "JSMITH", 2); },
         {"E 1 : Cancel Retail Transaction on POS 1, Camera 2, With Operator ID JSMITH\n"}},
        {"no sale: no comma before With",
         [] { return F::OnPOSNoSaleTransaction(T, 1, "1", "JSMITH", 2); },
         {"T 1 : NO SALE Transaction on POS 1, Camera 2 With Operator ID JSMITH\n"}},
        {"fuel sale, all three flags: the third line ends in a space",
         [] {
             return F::OnFuelSalesLineItem(T, 1, "1", 2, "Unleaded", 3, 254500, -1, 0, 14990, 16.98,
                                           "AB123", "45678", -1, 1, 2);
         },
         {"T 1 : Fuel Sale on POS 1, Camera 2 - Grade 2 (Unleaded) On Pump 3,  16.98 @ $ 1.499 = $ "
          "25.45\n",
          Reg + "AB123, Odo Reading: 45678\n", "Refund ", "KnowGrade ", "Prepay ", "\n"}},
        {"fuel sale, no flags: an empty third line",
         [] {
             return F::OnFuelSalesLineItem(T, 1, "1", 2, "Unl", 3, 10000, 0, 0, 10000, 0.1 + 0.2,
                                           "", "", 0, 0, 2);
         },
         {"T 1 : Fuel Sale on POS 1, Camera 2 - Grade 2 (Unl) On Pump 3,  0.3 @ $ 1 = $ 1\n",
          Reg + ", Odo Reading: \n", "\n"}},
        {"merchandise return (-1), no $ before the extended price",
         [] {
             return F::OnMerchandiseLineItem(T, 1, "1", "M42", "Cola", "Drink", 50000, -1, 2.0,
                                             25000, 0, 2);
         },
         {"T 1 : POS 1, Camera 2 -- Drink - Cola ( M42 )  2 @ $ 2.5 =  5", " Return\n"}},
        {"merchandise with flag 1 is no return",
         [] {
             return F::OnMerchandiseLineItem(T, 1, "1", "M42", "Cola", "Drink", -50000, 1, -2.0,
                                             25000, 0, 2);
         },
         {"T 1 : POS 1, Camera 2 -- Drink - Cola ( M42 ) -2 @ $ 2.5 = -5", "\n"}},
        {"tax",
         [] { return F::OnTaxLineItem(T, 1, "1", "GST", 12345, 2); },
         {"T 1 : POS 1, Camera 2 - GST $ 1.2345\n"}},
        {"subtotal",
         [] { return F::OnSubTotalLineItem(T, 1, "1", "Subtotal", 0, 2); },
         {"T 1 : POS 1, Camera 2 - Subtotal $ 0\n"}},
        {"tender",
         [] { return F::OnTenderLineItem(T, 1, "1", "Cash", 200000, 0, "CASH", 2); },
         {"T 1 : POS 1, Camera 2 - Cash $ 20 CASH\n"}},
        {"change",
         [] { return F::OnTenderChangeLineItem(T, 1, "1", "Change", -5000, 2); },
         {"T 1 : POS 1, Camera 2 - Change $-0.5\n"}},
        {"void",
         [] { return F::OnVoidModifier(T, 1, "1", "Void Item", 2); },
         {"T 1 : POS 1, Camera 2 - Void Item\n"}},
        {"quantity: money, straight after the text",
         [] { return F::OnQuantityModifier(T, 1, "1", "Qty", 30000, 2); },
         {"T 1 : POS 1, Camera 2 - Qty 3\n"}},
        {"price",
         [] { return F::OnPriceModifier(T, 1, "1", "Price", 15000, 2); },
         {"T 1 : POS 1, Camera 2 - Price $ 1.5\n"}},
        {"discount",
         [] { return F::OnDiscountLineItem(T, 1, "1", "Disc", -500, 0, 2); },
         {"T 1 : POS 1, Camera 2 -- Disc-0.05\n"}},
        {"image capture: no timestamp, ==> against <===",
         [] { return F::OnRequestImageCapture(4); },
         {"==> Image Capture Requested on Camera 4 <===\n"}},
        {"registration recognized",
         [] {
             return F::OnRecognizeRegistrationNumber(T, 1, 3, 2, 6, "AB1234", "[80,80]",
                                                     "2002-12-31T23:59:59");
         },
         {"T 1 : Camera 2 Recognized 6 of Registration Number AB1234 at Pump 3 with Confidence "
          "Levels [80,80]\n"}},
    };
    for (const GoldenLine &row : table) {
        SCOPED_TRACE(row.legend);
        EXPECT_EQ(row.expected, row.pieces());
    }
}

TEST(ASignedNumberText, WritesTheSignThenTheShortestExactDecimal)
{
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<std::pair<QString, QString>> table = {
        // 16-bit numbers
        {SignedNumberText(std::int16_t{0}), " 0"},
        {SignedNumberText(std::int16_t{7}), " 7"},
        {SignedNumberText(std::int16_t{-3}), "-3"},
        {SignedNumberText(std::int16_t{-32768}), "-32768"},
        // money, exact from the scaled value
        {SignedNumberText(Currency{0}), " 0"},
        {SignedNumberText(Currency{123450}), " 12.345"},
        {SignedNumberText(Currency{10000}), " 1"},
        {SignedNumberText(Currency{15000}), " 1.5"},
        {SignedNumberText(Currency{500}), " 0.05"},
        {SignedNumberText(Currency{-1}), "-0.0001"},
        {SignedNumberText(Currency{-5000}), "-0.5"},
        {SignedNumberText(Currency{std::numeric_limits<std::int64_t>::min()}),
         "-922337203685477.5808"},
        {SignedNumberText(Currency{std::numeric_limits<std::int64_t>::max()}),
         " 922337203685477.5807"},
        // doubles: 15 significant digits, exponent outside [1E-4, 1E15)
        {SignedNumberText(12.34), " 12.34"},
        {SignedNumberText(0.1 + 0.2), " 0.3"},
        {SignedNumberText(1.0 / 3.0), " 0.333333333333333"},
        {SignedNumberText(-0.0), " 0"},
        {SignedNumberText(-2.5), "-2.5"},
        {SignedNumberText(0.0001), " 0.0001"},
        {SignedNumberText(0.00001), " 1E-05"},
        {SignedNumberText(999999999999999.0), " 999999999999999"},
        {SignedNumberText(1e15), " 1E+15"},
        {SignedNumberText(-1e16), "-1E+16"},
        {SignedNumberText(std::numeric_limits<double>::max()), " 1.79769313486232E+308"},
        {SignedNumberText(std::numeric_limits<double>::quiet_NaN()), " NaN"},
        {SignedNumberText(inf), " Inf"},
        {SignedNumberText(-inf), "-Inf"},
        // numbers that arrive as text
        {SignedNumberText(QStringLiteral("03")), " 3"},
        {SignedNumberText(QStringLiteral(" 12 ")), " 12"},
        {SignedNumberText(QStringLiteral("-0")), " 0"},
        {SignedNumberText(QStringLiteral("1.50")), " 1.5"},
        {SignedNumberText(QStringLiteral("POS1")), " POS1"},
        {SignedNumberText(QStringLiteral("")), " "},
        {SignedNumberText(QStringLiteral("12345678901234567890")), " 12345678901234567890"},
    };
    for (std::size_t i = 0; i < table.size(); ++i)
        EXPECT_EQ(table[i].second, table[i].first) << "row " << i;
}

} // namespace
