#include "RequestXml.h"

#include "TransactionRecords.h"
#include "card/TextHelpers.h"

std::string xmlEscape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

XmlText& XmlText::element(const char* name, const std::string& value) {
  return open(name), text_ += xmlEscape(value), close(name);
}

XmlText& XmlText::open(const char* name) {
  text_ += '<';
  text_ += name;
  text_ += '>';
  return *this;
}

XmlText& XmlText::close(const char* name) {
  text_ += "</";
  text_ += name;
  text_ += '>';
  return *this;
}

XmlText& XmlText::append(const XmlText& more) {
  text_ += more.text_;
  return *this;
}

std::string requestXml(const RequestHead& head, const stCardAnswer& card, const XmlText& elements,
                       const XmlText& block) {
  XmlText xml;
  xml.open("Vennoral")
      .element("tx_code", head.txCode)
      .element("session_id", head.sessionId)
      .element("issuer_id", card.sIssueNo)
      .element("issuer_account", card.sMainAccount)
      .element("issuer_remark", trimRightReturn(card.sRemark))
      .element("client_dttm", head.clientDateTime)
      .open("atm")
      .element("atm_no", head.terminalId)
      .element("atm_checkcode", head.checkCode)
      .close("atm")
      .open("trns")
      .element("tac_id", card.sTacId)
      .append(elements)
      .element("icc_no", card.sSerialNo)
      .element("tsac", card.sTac)
      .append(block)
      .close("trns")
      .close("Vennoral");
  return xml.text();
}
