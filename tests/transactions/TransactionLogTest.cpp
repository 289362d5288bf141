// The card's log read back as rows: what the transactions wrote, and preloaded records of every kind.
#include "TransactionBench.h"
#include "card/Ebcdic.h"

namespace txbench {
namespace {

using TransactionLog = TransactionTest;
using Front = long (ZododovuRavuVODCtrl::*)();

const char* const kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";

std::string el(const std::string& tag, const std::string& value) { return "<" + tag + ">" + value + "</" + tag + ">"; }

std::string ebcdic(std::string text) {
  ascii2ebcdic(text.data(), text.data(), text.size());
  return text;
}

// A log record as the card stores it: three zero bytes of the card's own, serial, one more zero byte, n data
// bytes, TAC length, TAC. Offsets of put() count from the record's first byte (the data starts at 12).
class StoredRecord {
 public:
  StoredRecord(const std::string& serial, std::size_t n, const std::string& tac = hx("C1C2C3C4C5C6C7C8"),
               std::size_t tacLength = 8)
      : bytes_(12 + n + 2 + tac.size(), '\0') {
    bytes_.replace(3, 8, serial);
    bytes_[12 + n] = static_cast<char>(tacLength >> 8);
    bytes_[13 + n] = static_cast<char>(tacLength & 0xFF);
    bytes_.replace(14 + n, tac.size(), tac);
  }
  StoredRecord& put(std::size_t offset, const std::string& bytes) {
    bytes_.replace(offset, bytes.size(), bytes);
    return *this;
  }
  std::string profileLine(int number) const {
    return std::to_string(number) + " = " + rvp::cardsim::toHex(Bytes(bytes_.begin(), bytes_.end()), true) + "\n";
  }
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

std::string row(const std::string& elements) { return kDeclaration + ("<row>" + elements + "</row>"); }

const std::string kTac = "C1C2C3C4C5C6C7C8";

TEST_F(TransactionLog, ReadsBackWhatTheTransactionsWrote) {
  connect(kBankCard);
  ctrl->SetbaAccept_No("004");
  ctrl->SetbaAagency_No("0001");
  ctrl->SetbaImport_Account("1234567890");
  ctrl->SetbaMerchantID("SHOP&<1>");
  ctrl->SetbaPaymentType("11");
  ctrl->SetbaCancelNo("12345678");
  user->expectWindow("ATM_Trans_Dlg").click("btnOK");
  ASSERT_EQ(ctrl->Inquiry(), 0);
  ASSERT_EQ(ctrl->Transfer(), 0);
  ASSERT_EQ(ctrl->Payment(), 0);
  ASSERT_EQ(ctrl->Tax(), 0);
  ASSERT_EQ(ctrl->WideFee(), 0);
  std::vector<CardWrite> w = writes();
  ASSERT_EQ(w.size(), 5u);

  ZododovuRavuVODCtrl reader;  // a page that only reads the log
  reader.SetbaReaderName(card->readerName().c_str());
  ASSERT_EQ(reader.ConnectCard(), 0);
  EXPECT_EQ(reader.ReadRecord(), rc::kLogUnreadable);  // records 6 to 10 do not exist
  EXPECT_EQ(reader.GetiRec(), 5);
  EXPECT_EQ(reader.GetuiSW12(), 0x6A83u);

  const std::string account = kBankCard.mainAccount;
  const std::string head = std::string("<trns_amount>00000000012300</trns_amount><atm_no>") + kTerminal +
                           "</atm_no><atm_checkcode>" + kCheckCode + "</atm_checkcode><client_dttm>" + kDateTime +
                           "</client_dttm>";
  auto icc = [&](int i) { return el("icc_no", w[i].serial); };
  // Newest first.
  EXPECT_EQ(reader.GetbaRecord(0),
            row(icc(4) + el("tac_id", "2563") + head + el("trns_out_account", account) + el("tsac", w[4].tac)));
  EXPECT_EQ(reader.GetbaRecord(1),
            row(icc(3) + el("tac_id", "2531") + head + el("tax_type", "11") + el("trns_out_account", account) +
                el("trns_in_account", "12345678        ") + el("tsac", w[3].tac)));
  EXPECT_EQ(reader.GetbaRecord(2), row(icc(2) + el("tac_id", "2541") + head + el("merchant_id", "SHOP&amp;&lt;1&gt;") +
                                       el("trns_out_account", account) + el("tsac", w[2].tac)));
  EXPECT_EQ(reader.GetbaRecord(3),
            row(icc(1) + el("tac_id", "2523") + head + el("trns_in_account", "0000001234567890") +
                el("trns_out_account", account) + el("tsac", w[1].tac)));
  EXPECT_EQ(reader.GetbaRecord(4), row(icc(0) + el("tac_id", "2500") + el("atm_checkcode", kCheckCode) +
                                       el("trns_out_account", account) + el("tsac", w[0].tac)));
  // The page fields hold the last record read: the inquiry.
  EXPECT_EQ(reader.GetbaP_CODE(), "2500");
  EXPECT_EQ(reader.GetbaICC_SNO(), w[0].serial);
  EXPECT_EQ(reader.GetbaTACLen(), "0008");
  EXPECT_EQ(reader.GetbaTAC(), w[0].tac);
  EXPECT_EQ(reader.GetbaMoney(), "00000000012300");  // kept from the fee record before it
}

TEST_F(TransactionLog, DecodesEveryKindOfPreloadedRecord) {
  // Amount text, then account bytes that run into the P-code (bytes 21 to 36).
  StoredRecord transfer("00000011", 78);
  transfer.put(16, "1234567890123456").put(32, ebcdic("G004A2")).put(67, ebcdic("20261210131500"));
  StoredRecord cancelPayment("00000012", 66);
  cancelPayment.put(18, hx("000001234567"))
      .put(24, ebcdic("CHKP0001"))
      .put(32, ebcdic("P014A5") + ebcdic("20261210"))
      .put(46, ebcdic("7001234567890123"))
      .put(62, ebcdic("CANCEL<0000&0001"));
  StoredRecord referencePayment("00000013", 73);
  referencePayment.put(18, hx("000000000000"))
      .put(24, ebcdic("CHKP0002"))
      .put(32, ebcdic("P014A6") + ebcdic("20261211"))
      .put(46, ebcdic("7001234567890123"))
      .put(62, ebcdic("1141231"))
      .put(69, ebcdic("REF1234567890123"));
  StoredRecord otherPayment("00000014", 66);
  otherPayment
      .put(18, hx("000000001000"))  // digits 000000001 once cut to nine
      .put(24, ebcdic("CHKP0003"))
      .put(32, ebcdic("P014AD") + ebcdic("20261212"))
      .put(46, ebcdic("7009999999999999"));
  StoredRecord inquiry("00000015", 48);
  inquiry.put(16, "7001234567890123").put(32, ebcdic("P611A1")).put(38, ebcdic("CHKP0004"));
  StoredRecord unlisted("00000016", 64);
  unlisted.put(12, "2580");
  StoredRecord bank("00000017", 64);
  bank.put(12, "2510")
      .put(16, "00000000099900")
      .put(30, "ATM00017")
      .put(38, "CHK00017")
      .put(46, "20261213000000")
      .put(60, "0040123456789012");
  StoredRecord inquiryAfterBank("00000018", 48);
  inquiryAfterBank.put(16, "7001234567890123").put(32, ebcdic("P611A2")).put(38, ebcdic("CHKP0005"));
  StoredRecord tacTooLong("00000019", 94, hx("C1C2C3C4C5C6C7C8"), 0x00FF);
  tacTooLong.put(12, "2541");
  StoredRecord cardStart("00000020", 28);
  cardStart.put(12, "6100").put(16, "CHK00020").put(24, "0040123456789012");

  std::string profile =
      "atr = 3B 80 80 01 01\naid = A0 00 00 01 72 95 00 01\npin = 1234\npin_tries = 3\n"
      "tac_key = 40 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F\nserial = 21\nlog = 1080\nlog_capacity = 10\n"
      "[ef 1001]\n1 = tlv 01 \"00400001\"\n2 = tlv 02 \"BANK CARD\":30\n3 = tlv 03 \"0040123456789012\"\n"
      "[ef 1080]\n";
  int number = 1;
  for (const StoredRecord* r : {&transfer, &cancelPayment, &referencePayment, &otherPayment, &inquiry, &unlisted, &bank,
                                &inquiryAfterBank, &tacTooLong, &cardStart})
    profile += r->profileLine(number++);
  connect(kBankCard, parseProfile(profile));

  EXPECT_EQ(ctrl->ReadRecord(), 0);  // record 10 was read
  ASSERT_EQ(ctrl->GetiRec(), 8);
  const std::string atm = el("atm_no", kTerminal);
  const std::string tsac = el("tsac", kTac);
  EXPECT_EQ(ctrl->GetbaRecord(0), row(el("icc_no", "00000011") + el("tac_id", "G004A2") + el("trns_amount", "123456") +
                                      atm + el("atm_checkcode", "REVO 100") + el("client_dttm", "20261210131500") +
                                      el("trns_in_account", "FGH") +  // its bytes 97 on are the TAC's last three
                                      el("trns_out_account", "67890123456" + ebcdic("G004A")) + tsac));
  EXPECT_EQ(ctrl->GetbaRecord(1),
            row(el("icc_no", "00000012") + el("tac_id", "P014A5") + el("trns_amount", "1234") + atm +
                el("atm_checkcode", "CHKP0001") + el("client_dttm", "P014A520261210") +
                el("trns_out_account", "7001234567890123") + el("trns_in_account", "CANCEL&lt;0000&amp;0001") + tsac));
  EXPECT_EQ(ctrl->GetbaRecord(2), row(el("icc_no", "00000013") + el("tac_id", "P014A6") +
                                      el("trns_amount", "000000000") + atm + el("atm_checkcode", "CHKP0002") +
                                      el("client_dttm", "P014A620261211") + el("trns_out_account", "7001234567890123") +
                                      el("trns_date", "1141231") + el("trns_user_ref", "REF1234567890123") + tsac));
  EXPECT_EQ(ctrl->GetbaRecord(3),
            row(el("icc_no", "00000014") + el("tac_id", "P014AD") + el("trns_amount", "1") + atm +
                el("atm_checkcode", "CHKP0003") + el("client_dttm", "P014AD20261212") +
                el("trns_out_account", "7009999999999999") + el("trns_in_account", "CANCEL&lt;0000&amp;0001") + tsac));
  // The inquiry kind keeps the amount of the record before; its date starts where its TAC does.
  EXPECT_EQ(ctrl->GetbaRecord(4),
            row(el("icc_no", "00000015") + el("tac_id", "P611A1") + el("trns_amount", "1") + atm +
                el("atm_checkcode", "CHKP0004") + el("client_dttm", "ABCDEFGH") +
                el("trns_out_account", "7001234567890123") + el("trns_in_account", "CANCEL&lt;0000&amp;0001") + tsac));
  EXPECT_EQ(ctrl->GetbaRecord(5),
            row(el("icc_no", "00000017") + el("tac_id", "2510") + el("trns_amount", "00000000099900") +
                el("atm_no", "ATM00017") + el("atm_checkcode", "CHK00017") + el("client_dttm", "20261213000000") +
                el("trns_out_account", "0040123456789012") + tsac));
  EXPECT_EQ(ctrl->GetbaRecord(6),
            row(el("icc_no", "00000018") + el("tac_id", "P611A2") + el("trns_amount", "00000000099900") +
                el("atm_no", "ATM00017") + el("atm_checkcode", "CHKP0005") + el("client_dttm", "ABCDEFGH") +
                el("trns_out_account", "7001234567890123") + el("trns_in_account", "CANCEL&lt;0000&amp;0001") + tsac));
  EXPECT_EQ(ctrl->GetbaRecord(7),
            row(el("icc_no", "00000020") + el("tac_id", "6100") + el("atm_checkcode", "CHK00020") +
                el("trns_out_account", "0040123456789012") + tsac));
  EXPECT_EQ(ctrl->GetbaP_CODE(), "6100");
  EXPECT_EQ(ctrl->GetuiSW12(), 0x9000u);
}

// The postal steps, and the transfer inside the own bank (2920), write records that no log kind
// describes: a record numbered outside the lists, or with four zero bytes for its code, gives no row; the postal
// inquiry of P611A1 carries its P-code where that kind expects it, but the kind's TAC length falls on the account
// bytes, so it is unreadable.
TEST_F(TransactionLog, RecordsOfThePostalStepsGiveNoRow) {
  connect(kPostalCard);
  ctrl->SetbaAccept_No("700");
  ctrl->SetbaAagency_No("0001");
  ctrl->SetbaImport_Account("1234567890");
  ctrl->SetbaCancelNo("CANCEL0000000001");
  ctrl->SetbaUSER_REF("REF001");
  struct Step {
    const char* pCode;
    Front front;
    bool check;  // the transfer check is shown
  };
  // Oldest first: ten writes fill the log, so the P611A1 inquiry is record 10.
  for (Step s :
       {Step{"P611A1", &ZododovuRavuVODCtrl::Inquiry, false}, Step{"", &ZododovuRavuVODCtrl::Inquiry, false},
        Step{"P611A6", &ZododovuRavuVODCtrl::Inquiry, false},
        Step{"", &ZododovuRavuVODCtrl::Transfer, true},  // inside the own bank: 2920
        Step{"P014A1", &ZododovuRavuVODCtrl::Transfer, true}, Step{"G004A2", &ZododovuRavuVODCtrl::Transfer, true},
        Step{"P116A1", &ZododovuRavuVODCtrl::RodaAccount, false},
        Step{"ZZZZZZ", &ZododovuRavuVODCtrl::RodaAccount, false},
        Step{"P014A5", &ZododovuRavuVODCtrl::RodaPayment, false},
        Step{"I03533", &ZododovuRavuVODCtrl::RodaPayment, false}}) {
    SCOPED_TRACE(s.pCode);
    ctrl->SetbaP_CODE(s.pCode);
    if (s.check) user->expectWindow("ATM_Trans_Dlg").click("btnOK");
    ASSERT_EQ((ctrl.get()->*s.front)(), 0);
  }
  std::vector<CardWrite> w = writes();
  ASSERT_EQ(w.size(), 10u);
  EXPECT_EQ(w[9].record.substr(0, 4), zeros(4));  // I03533 has no card code
  EXPECT_EQ(w[7].record.substr(0, 4), zeros(4));  // nor has an unlisted account service
  EXPECT_EQ(w[3].record.substr(0, 4), "2920");

  ctrl->SetiRec(0);
  EXPECT_EQ(ctrl->ReadRecord(), rc::kLogUnreadable);  // record 10, the P611A1 inquiry
  EXPECT_EQ(ctrl->GetuiSW12(), 0x9000u);
  ASSERT_EQ(ctrl->GetiRec(), 1);
  EXPECT_EQ(ctrl->GetbaRecord(0),
            row(el("icc_no", w[1].serial) + el("tac_id", "2500") + el("atm_checkcode", kCheckCode) +
                el("trns_out_account", kPostalCard.mainAccount) + el("tsac", w[1].tac)));
}

// Neither a record answered with no data bytes nor one whose code is four zero bytes gives a row: both are
// of no kind, and the call still ends with 0.
TEST_F(TransactionLog, RecordsWithoutACodeGiveNoRow) {
  StoredRecord inquiry("00000001", 28);
  inquiry.put(12, "2500").put(16, "CHK00001").put(24, "0040123456789012");
  StoredRecord noCode("00000002", 64);  // the layout of a postal payment with no card code
  noCode.put(16, "00000001230000").put(34, hx("903533")).put(48, "7001234567890123");
  std::string profile =
      "atr = 3B 80 80 01 01\naid = A0 00 00 01 72 95 00 01\npin = 1234\npin_tries = 3\n"
      "tac_key = 40 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F\nserial = 3\nlog = 1080\nlog_capacity = 10\n"
      "[ef 1001]\n1 = tlv 01 \"00400001\"\n[ef 1080]\n";
  profile += inquiry.profileLine(1) + noCode.profileLine(2);
  for (int n = 3; n <= 10; ++n) profile += inquiry.profileLine(n);
  connect(kBankCard, parseProfile(profile));
  card->inject(Fault::statusWord(0x9000, 1, 0xB2));  // record 1: status word only
  EXPECT_EQ(ctrl->ReadRecord(), 0);
  EXPECT_EQ(ctrl->GetiRec(), 8);
  EXPECT_EQ(ctrl->GetbaP_CODE(), "2500");
}

// A log file the card will not select leaves the rows of the last reading as they were.
TEST_F(TransactionLog, AnUnselectableLogKeepsTheEarlierRows) {
  connect(kPostalCard);
  ASSERT_EQ(ctrl->ReadRecord(), rc::kLogUnreadable);  // the preloaded inquiry; records 2 to 10 missing
  ASSERT_EQ(ctrl->GetiRec(), 1);
  const std::string earlier = ctrl->GetbaRecord(0);

  card->clearApduLog();
  card->inject(Fault::statusWord(0x6A82, 1, 0xA4));
  EXPECT_EQ(ctrl->ReadRecord(), 0);
  EXPECT_EQ(ctrl->GetuiSW12(), 0x6A82u);
  EXPECT_EQ(ctrl->GetiRec(), 1);
  EXPECT_EQ(ctrl->GetbaRecord(0), earlier);
  for (const Bytes& command : card->apduCommands()) EXPECT_NE(command[1], 0xB2);

  card->remove();  // the transmit itself fails: its PC/SC result comes back
  const long result = ctrl->ReadRecord();
  EXPECT_NE(result, 0);
  EXPECT_NE(result, rc::kLogUnreadable);
  EXPECT_EQ(ctrl->GetLastResult(), result);
  EXPECT_EQ(ctrl->GetiRec(), 1);
  EXPECT_EQ(ctrl->GetbaRecord(0), earlier);
}

TEST_F(TransactionLog, ARecordWhoseTacRunsPastItsEndIsUnreadable) {
  StoredRecord tacTooLong("00000001", 28, hx("C1C2C3C4C5C6C7C8"), 0x0009);
  tacTooLong.put(12, "2500").put(16, "CHK00001").put(24, "0040123456789012");
  std::string profile =
      "atr = 3B 80 80 01 01\naid = A0 00 00 01 72 95 00 01\npin = 1234\npin_tries = 3\n"
      "tac_key = 40 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F\nserial = 2\nlog = 1080\nlog_capacity = 10\n"
      "[ef 1001]\n1 = tlv 01 \"00400001\"\n[ef 1080]\n";
  for (int n = 1; n <= 10; ++n) profile += tacTooLong.profileLine(n);
  connect(kBankCard, parseProfile(profile));
  ctrl->SetiRec(7);
  EXPECT_EQ(ctrl->ReadRecord(), rc::kLogUnreadable);
  EXPECT_EQ(ctrl->GetiRec(), 0);
  EXPECT_EQ(ctrl->GetbaTAC(), "");
}

}  // namespace
}  // namespace txbench
