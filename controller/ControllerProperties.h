// The one table of the controller's page-visible values.
//
// Every field the page can read or write is listed here exactly once, in declaration order. The class
// declares its fields and accessors from this table, the property store defines the accessors from it,
// and the tests walk it, so a name can never be spelled two ways. Kinds:
//   TEXT(name)            text with GetX() and SetX(const char*)
//   SECRET(name)          a TEXT whose setter wipes the old value's whole buffer before the new value
//                         goes in (the PINs: no digit of a cleared or replaced PIN stays in memory)
//   TEXT_SET(name)        text with a setter only (the page parameter blocks, the page address, and the
//                         issuer texts, whose getters read the card instead)
//   TEXT_GET(name)        text with a getter only (results of the form-driven transfers)
//   NUMBER(type, name)    number with GetX() and SetX(type)
//   LIST(name, size)      indexed texts with GetX(index) and SetX(index, const char*)
#pragma once

#define RVP_CONTROLLER_PROPERTIES(TEXT, SECRET, TEXT_SET, TEXT_GET, NUMBER, LIST) \
  TEXT_SET(CurrentURL)                                                            \
  TEXT(XMLStr)                                                                    \
  TEXT(RASStr)                                                                    \
  TEXT(TrnsMsg)                                                                   \
  LIST(OptionData, 2)                                                             \
  NUMBER(int, iNoR)                                                               \
  NUMBER(int, iRec)                                                               \
  LIST(baRecord, 20)                                                              \
  LIST(caReader, 40)                                                              \
  TEXT(baReaderName)                                                              \
  TEXT(baATR)                                                                     \
  NUMBER(std::uint64_t, ulProtocol)                                               \
  NUMBER(std::uint64_t, ulState)                                                  \
  NUMBER(std::uint64_t, ulLen)                                                    \
  NUMBER(int, iResetType)                                                         \
  NUMBER(int, iDisConnectType)                                                    \
  NUMBER(std::uint64_t, dwAttrId)                                                 \
  TEXT(pbAttr)                                                                    \
  NUMBER(std::uint64_t, pcbAttrLen)                                               \
  NUMBER(int, cardType)                                                           \
  TEXT(baDFID)                                                                    \
  TEXT(baEFID)                                                                    \
  NUMBER(std::uint64_t, uiSW12)                                                   \
  TEXT(bPq)                                                                       \
  TEXT(baBuf)                                                                     \
  TEXT(bRecID)                                                                    \
  TEXT(bLen)                                                                      \
  NUMBER(std::int64_t, bRLen)                                                     \
  SECRET(baPIN)                                                                   \
  SECRET(baNewPIN)                                                                \
  TEXT(baSN)                                                                      \
  TEXT(baTSAC)                                                                    \
  LIST(baAppnAccount, 8)                                                          \
  NUMBER(int, iNoAP)                                                              \
  LIST(baAccount, 8)                                                              \
  NUMBER(int, iNoA)                                                               \
  TEXT(baIssueNo)                                                                 \
  TEXT(baRemark)                                                                  \
  TEXT(baAccount1)                                                                \
  TEXT(baIFD_Chk_Code)                                                            \
  TEXT(baIFD_ID)                                                                  \
  TEXT(bAccountID)                                                                \
  TEXT(baICC_SNO)                                                                 \
  TEXT(baTACLen)                                                                  \
  TEXT(baTAC)                                                                     \
  TEXT(baP_CODE)                                                                  \
  TEXT(baAagency_No)                                                              \
  TEXT(baAccept_No)                                                               \
  TEXT(baImport_Account)                                                          \
  TEXT(baMoney)                                                                   \
  TEXT(baDateTime)                                                                \
  TEXT(baPaymentType)                                                             \
  TEXT(baCancelNo)                                                                \
  TEXT_SET(IssuerAccount)                                                         \
  TEXT_SET(IssuerId)                                                              \
  TEXT_SET(IssuerRemark)                                                          \
  TEXT(SessionId)                                                                 \
  TEXT(baTax_Date)                                                                \
  TEXT(baTax_Unit)                                                                \
  TEXT(baMerchantID)                                                              \
  TEXT(baOrderNumber)                                                             \
  TEXT(baTaxAgencyNo)                                                             \
  TEXT(baTaxComment)                                                              \
  TEXT(baUSER_REF)                                                                \
  TEXT(baCIF_TEL_AREA)                                                            \
  TEXT(baACC_TEL)                                                                 \
  TEXT(baACC_ADDR)                                                                \
  TEXT(baACC_EMAIL)                                                               \
  TEXT(IEURL)                                                                     \
  TEXT_SET(bh_d0)                                                                 \
  TEXT_SET(bh_d1)                                                                 \
  TEXT_SET(bh_d2)                                                                 \
  TEXT_SET(bh_d3)                                                                 \
  TEXT_SET(bh_d4)                                                                 \
  TEXT_SET(bh_d5)                                                                 \
  TEXT_SET(bh_d6)                                                                 \
  TEXT_SET(bh_d7)                                                                 \
  TEXT_SET(bh_d8)                                                                 \
  TEXT_SET(bh_d9)                                                                 \
  TEXT_SET(bh_d10)                                                                \
  TEXT_GET(ReturnASN)                                                             \
  TEXT_GET(ReturnTxFlag)                                                          \
  TEXT(bSelectedAccount)
