// The road Transfer_V2 and PublicDonation share: the page's parameter blocks, reader and card opened
// afresh, the login-card check, a form, the confirmation whose OK has the card write, the request and
// its envelope. A road says where the two differ; everything else is one code path.
#pragma once

#include <string>

struct TransferFormRow;

struct FormRoad {
  // The operation: the log's tag.
  const char* name;
  // The title of the box an unexpected failure shows.
  const char* failureTitle;
  // The form of the call: by the transfer kind (Transfer_V2), or always the same one (the donation).
  const TransferFormRow* (*formFor)(const std::string& kind);
  // bh_d0 (bank-list changes) is read, and a kind of 4 characters has the card's lists read for the
  // bank-card forms.
  bool readsBankChanges;
  // bh_d8 may be "null" (any case) for no limits; otherwise it must open.
  bool limitsMayBeAbsent;
  // Title of the messages of a card that does not connect and of a card that is not the login card.
  const char* cardTitle;
  // The card account is zero-filled to 14 and the payee shown in the row's format; otherwise both are
  // shown without their leading "0" characters.
  bool padsShownAccounts;
  // The request's bank fields are trimmed and zero-filled to 8 characters; otherwise copied as read.
  bool trimsRequestBanks;
  // Where a postal payee came from (ReturnASN) and the transaction type (ReturnTxFlag) go back to the
  // page.
  bool returnsPayeeSource;
};

const FormRoad& transferRoad();
const FormRoad& donationRoad();
