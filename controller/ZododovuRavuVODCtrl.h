// The transaction controller: every value the page reads or writes, the card session, the
// client-authentication answer, the request envelope and the steps the transactions share.
//
// One controller lives inside each page scripting object; the dialogs get a plain pointer to it and
// call back into it. Every card call goes through the one process-wide card handle `hCard`.
// Each section heading below names the file (under controller/) that holds the section.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ControllerProperties.h"
#include "card/StringFormat.h"
#include "ControllerTypes.h"

struct stTransferIn;  // transfer records: controller/transactions/
struct stTransferOut;
struct stCardAnswer;  // the other transaction records: controller/transactions/TransactionRecords.h
struct stInquiryIn;
struct stInquiryOut;
struct stPaymentIn;
struct stPaymentOut;
struct stTaxIn;
struct stTaxOut;
struct stWideFeeIn;
struct stWideFeeOut;
class CardRecord;
struct FormParameters;  // the form-driven transfer: controller/transactions/
struct FormRoad;
struct TransferFormRow;
struct TransferFormValues;

class ZododovuRavuVODCtrl {
 public:
  ZododovuRavuVODCtrl();
  ZododovuRavuVODCtrl(const ZododovuRavuVODCtrl&) = delete;
  ZododovuRavuVODCtrl& operator=(const ZododovuRavuVODCtrl&) = delete;

  // ---- property store (PropertyStore.cpp): accessors generated from the one table ----
#define RVP_ACCESSORS_TEXT(name) \
  std::string Get##name() const; \
  void Set##name(const char* text);
#define RVP_ACCESSORS_TEXT_SET(name) void Set##name(const char* text);
#define RVP_ACCESSORS_TEXT_GET(name) std::string Get##name() const;
#define RVP_ACCESSORS_NUMBER(type, name) \
  type Get##name() const;                \
  void Set##name(type value);
  // Indexes are taken as 64-bit so that a page index beyond the int range is refused, never wrapped.
#define RVP_ACCESSORS_LIST(name, size)     \
  std::string Get##name(long index) const; \
  void Set##name(long index, const char* text);
  RVP_CONTROLLER_PROPERTIES(RVP_ACCESSORS_TEXT, RVP_ACCESSORS_TEXT, RVP_ACCESSORS_TEXT_SET, RVP_ACCESSORS_TEXT_GET,
                            RVP_ACCESSORS_NUMBER, RVP_ACCESSORS_LIST)
#undef RVP_ACCESSORS_TEXT
#undef RVP_ACCESSORS_TEXT_SET
#undef RVP_ACCESSORS_TEXT_GET
#undef RVP_ACCESSORS_NUMBER
#undef RVP_ACCESSORS_LIST

  // ---- issuer getters (CardFiles.cpp): they read the card, not the texts their setters stored ("" when
  // anything fails) ----
  std::string GetIssuerId();
  std::string GetIssuerAccount();
  std::string GetIssuerRemark();

  // Result of the last operation (a PC/SC result, a result code or a status word).
  long GetLastResult() const { return lastResult; }

  // ---- card session (CardSession.cpp) ----
  long ConnectReader();
  long DisConnectReader();
  long ListReaders();
  long CheckCardInsert();
  long GetReaderStatus();
  long ConnectCard();
  long ReConnectCard();
  long GetCardStatus();
  long DisConnectCard();
  long SelectAID();
  long T1Transmit();
  bool IsReaderExist();

  // ---- files, records and the PIN (CardFiles.cpp) ----
  long SelectParentDF();
  long SelectDF();
  long SelectEF();
  long UpdateRecord();
  long WriteRecordWithSNUMTAC();
  long CardAccounts();
  long ListAccounts();
  long AppnAccounts();
  // A PIN (baPIN, baNewPIN) of other than 1 to 16 digits gives 8600 before anything is sent.
  long VerifyPIN();
  long ChangePassword();
  // A dialog's PIN check.
  int InnerVerifyPIN(const char* pin, CardHandle cardHandle);

  // ---- entry points of the dialogs (DialogEntries.cpp) ----
  long InnerConnectCard(const char* readerName, CardHandle cardHandle);
  long CheckCardInOut();
  long CheckCardInOut2();
  long InnerCardInOut(const char* readerName);

  // ---- client-authentication answer (Challenge.cpp): replaces the challenge in OptionData[0] ----
  void Challenge();

  // ---- request envelope (Envelope.cpp) ----
  // The envelope of a request; empty when it cannot be sealed.
  std::string runCrypto(const std::string& text);
  std::string getSessionNo();
  // TrnsMsg := runCrypto(request); 0, or 9970 with TrnsMsg empty when the request cannot be sealed.
  long sealRequest(const std::string& request);
  // printf-style; a zero flag on a text conversion ("%014s") pads with '0'. Arguments by type
  // (std::string and const char* both work with %s).
  template <typename... Args>
  static std::string format(const char* fmt, const Args&... args) {
    return string_format(fmt ? fmt : "", args...);
  }

  // ---- card data the transactions share (CardFiles.cpp) ----
  // EF 1001's issuer, remark, main account and the indexed account; 8800 when the file or a record
  // cannot be read (a selection refused by its status word included).
  long getCardInfo(stCardInfo& out, std::string accountIndex);
  // The card's serial number (EF 0001, record 2) into out.sICCSerial; 9980 when it cannot be read.
  long getICCID(stTaxOut& out);

  // ---- text helpers, log and random draws the transactions share (SharedSteps.cpp) ----
  static std::string doNumString(const std::string& digits, int n);
  static std::string doChangesWord(std::string text);
  static std::string addEmpty(std::string text, int width);
  static bool AccInCard(const std::string& account);
  // The controller's log: lines are dropped, nothing reaches a file or the user.
  template <typename... Args>
  static void LogMsg(int level, const char* tag, const char* fmt, const Args&... args) {
    (void)level, (void)tag, (void)fmt, (void)sizeof...(args);
  }
  static std::string Cocx();  // Challenge.cpp
  static int MagicNum();
  // Logs a failed card-layer call as "<call> error with error code:[0x%08x]." and returns its code.
  static long cardCallFailed(const char* where, const char* call, long code);

  // ==== transactions: declared here, defined in controller/transactions/ (one file per kind) ====
  // Inquiry.cpp: Inquiry. Transfer.cpp: Transfer, PayTransfer, PayCredit, doTransfer, doRodaTransfer.
  // Payment.cpp: Payment, CardStart, RodaPayment. Fees.cpp: Tax, WideFee. RodaAccount.cpp: RodaAccount.
  // TransactionLog.cpp: ReadRecord. The others name their files below.
  long Inquiry();
  long Transfer();
  long PayTransfer();
  long PayCredit();
  long Payment();
  long CardStart();
  long Tax();
  long WideFee();
  long RodaAccount();
  long RodaPayment();
  long ReadRecord();
  long doTransfer(stTransferIn& in, stTransferOut& out, int kind, int confirmed);
  long doRodaTransfer(stTransferIn& in, stTransferOut& out, int confirmed);
  // The form-driven transfer: parameters, card, transfer form, confirmation, request.
  long Transfer_V2();
  // The donation: the same road with the donation form (transactions/FormTransfer.cpp).
  long PublicDonation();
  // Account services on the page's card connection (transactions/AccountServices.cpp).
  long AccountSetting();
  long VisaRenewal();
  long doAccountSetting(stTransferIn& in, stTransferOut& out);
  long doVisaRenew(stTransferIn& in, stTransferOut& out);
  // The account book (transactions/AccountBook.cpp): the bank list into BankIDListText, the whole book
  // edited in its list dialog, one proposed entry confirmed in the entry dialog.
  long LoadBankIDList();
  long CommACCT_Set();
  long CommACCT_Add();
  // Private helpers of the transactions may be added below this line, in this section only.
  // Card steps of the other transactions (each writes one record to the card's log).
  long doInquiry(stInquiryIn& in, stInquiryOut& out);
  long doRodaInquiry(stInquiryIn& in, stInquiryOut& out);
  long doPayment(stPaymentIn& in, stPaymentOut& out);
  long doRodaPayment(stPaymentIn& in, stPaymentOut& out);
  long doTax(stTaxIn& in, stTaxOut& out);
  long doWideFee(stWideFeeIn& in, stWideFeeOut& out);
  long doRodaAccount(stTransferIn& in, stTransferOut& out);
  // Steps of the form-driven transfer and the donation (controller/transactions/FormTransfer*.cpp).
  long runFormRoad(const FormRoad& road);
  long formRoad(const FormRoad& road);
  long reopenReaderAndCard(const FormRoad& road);
  bool loginCardInReader(const FormParameters& params);
  void prepareBankLists();
  std::string firstCardAccountText() const;
  // The card account as the road shows it to the form and in the confirmation.
  std::string shownCardAccount(const FormRoad& road) const;
  void returnPayeeSource(const TransferFormRow& row, const FormParameters& params, const TransferFormValues& values);
  long confirmAndRequest(const FormRoad& road, const TransferFormRow& row, const FormParameters& params,
                         const TransferFormValues& values);
  // Card, then reader, each failure only logged.
  void closeReaderAndCard(const FormRoad& road);

 private:
  // The steps the card steps share, in the order most of them take them (transactions/CardSteps.cpp).
  // Each step returns false when the card step must end; the step's result is then lastResult.
  long refuseStep(long code);
  bool stepFailed(long result) const;
  bool pinStep(const std::string& pin);
  bool cardDataStep(stCardAnswer& out, const std::string& accountIndex);
  void selectedAccountStep(stCardAnswer& out);
  // The transfer check dialog; false when the customer did not go on.
  bool transferCheckStep(int confirmed, const stCardAnswer& out, const stTransferIn& in);
  long writeStep(const CardRecord& record, stCardAnswer& out);
  // XMLStr := the request; TrnsMsg := its envelope (9970 when it cannot be sealed).
  long finishRequest(const std::string& xml);
  // One record of the card's log, decoded into the page fields, and its row when it has a known kind
  // (transactions/TransactionLog.cpp).
  struct LogRecordView;
  enum class LogDecode { Row, UnknownKind, Unreadable };
  LogDecode decodeLogRecord(const LogRecordView& record, std::string& row);

  // ==== end of the transactions section ====

 private:
  // Card-session plumbing shared by the operations above (CardFiles.cpp; readerNamed,
  // copyCardStatusToFields: CardSession.cpp; runCardInOutDialog: DialogEntries.cpp).
  long selectFile(const char* efid);
  long readRecordWhole(int record, unsigned char* data, std::size_t room, int& length);
  long readRecordWith(int record, unsigned char le, unsigned char* data, std::size_t room, int& length);
  long readIssuerRecord(int record, unsigned char* data, std::size_t room, int& length);
  // 0 when the card takes the PIN, else its status word or the PC/SC result (left in lastResult).
  long verifyPinBlock(std::string_view pin);
  long readAccountList(int firstRecord, int width, std::array<std::string, 8>& list, int& count);
  void copyCardStatusToFields();
  // False, with lastResult kNoReaderName and a log line, when the page named no reader.
  bool readerNamed(const char* operation);
  long runCardInOutDialog();

  // ---- fields: the table's, then the working state of the operations ----
  long lastResult = 0;
  std::uint32_t swRaw = 0;  // status word of the last card command
  ReaderList readerList{};
  CardStatus cardStatus{};
  std::string sStr;
  std::string scratchText;
  std::string installPath;
  std::string clientFlag;
  std::vector<std::string> CardAccountList;
  std::vector<std::string> AppnAccountList;
  std::string BankIDListText;

#define RVP_FIELD_TEXT(name) std::string name;
#define RVP_FIELD_NUMBER(type, name) type name = 0;
#define RVP_FIELD_LIST(name, size) std::array<std::string, size> name;
  RVP_CONTROLLER_PROPERTIES(RVP_FIELD_TEXT, RVP_FIELD_TEXT, RVP_FIELD_TEXT, RVP_FIELD_TEXT, RVP_FIELD_NUMBER,
                            RVP_FIELD_LIST)
#undef RVP_FIELD_TEXT
#undef RVP_FIELD_NUMBER
#undef RVP_FIELD_LIST
};
