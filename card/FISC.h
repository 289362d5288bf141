#pragma once
// FISC financial IC-card commands (class byte 00), one function per command, plus composite
// operations that chain several. Each builds its command in baSendBuf, sends it with the T=1
// header and reads the answer from baRecBuf (card/CardBuffers.h).
//
// Conventions for every single command:
// - The result is the PC/SC result of the transmission (0 = success), also left in ulRtn.
// - *sw is set to 0 before anything is sent, then to SW1 << 8 | SW2 of the answer. An answer of
//   fewer than two bytes is a failed command (SCARD_F_COMM_ERROR), *sw stays 0 and nothing is
//   copied. kSwOk (0x9000, card/CardAnswer.h) is success. A command that answers only a status word
//   fails the same way when its answer carries data.
// - A one-byte length out is cleared before sending and set to the count of data bytes only when at
//   least three bytes came back; exactly that many data bytes are copied. Data of more than 255
//   bytes, which the count cannot say, gives SCARD_E_INSUFFICIENT_BUFFER (status word set, nothing
//   copied, length 0): read modulo 256 it would pass an over-long answer off as a shorter one.
// - Every data-out buffer comes with its capacity: an answer whose data does not fit gives
//   SCARD_E_INSUFFICIENT_BUFFER (status word set, nothing copied, length 0).
// - Missing out pointers, and length arguments that do not fit the command's length byte, give
//   SCARD_E_INVALID_PARAMETER before anything is sent.
// File ids and P1 P2 pairs are two bytes in card order.

#include <cstddef>
#include <cstdint>

#include "card/CardAnswer.h"
#include "card/CardHandle.h"

// "FISCAPI V1.5" and "2002.10.15", each zero-terminated and cut to its buffer. Always 0.
std::uint32_t FISC_GetAPIVersion(char* version, std::size_t versionSize, char* date, std::size_t dateSize);

// 00 B0 offH offL Le
std::uint32_t FISC_ReadBinary(CardHandle hCard, std::uint16_t offset, unsigned char le, unsigned char* data,
                              std::size_t dataCapacity, unsigned char* dataLength, FiscSW* sw);
// 00 A4 02 00 02 FID
std::uint32_t FISC_SelectEF(CardHandle hCard, const unsigned char fid[2], FiscSW* sw);
// 00 A4 02 00 02 FID 10
std::uint32_t FISC_SelectEFWithHeader(CardHandle hCard, const unsigned char fid[2], unsigned char* data,
                                      std::size_t dataCapacity, unsigned char* dataLength, FiscSW* sw);
// 00 A4 01 00 02 FID
std::uint32_t FISC_SelectDF(CardHandle hCard, const unsigned char fid[2], FiscSW* sw);
// 00 A4 01 00 02 FID 10
std::uint32_t FISC_SelectDFWithHeader(CardHandle hCard, const unsigned char fid[2], unsigned char* data,
                                      std::size_t dataCapacity, unsigned char* dataLength, FiscSW* sw);
// 00 A4 03 00
std::uint32_t FISC_SelectParentDF(CardHandle hCard, FiscSW* sw);
// 00 A4 03 00 10
std::uint32_t FISC_SelectParentDFWithHeader(CardHandle hCard, unsigned char* data, std::size_t dataCapacity,
                                            unsigned char* dataLength, FiscSW* sw);
// 00 B2 rec 04 Le (Le 0 asks for the whole record)
std::uint32_t FISC_ReadRecord(CardHandle hCard, unsigned char record, unsigned char le, unsigned char* data,
                              std::size_t dataCapacity, unsigned char* dataLength, FiscSW* sw);
// 00 B2 rec 05 Le: every record from `record` to the last
std::uint32_t FISC_ReadAllRecord_S(CardHandle hCard, unsigned char record, unsigned char le, unsigned char* data,
                                   std::size_t dataCapacity, unsigned char* dataLength, FiscSW* sw);
// 00 B2 rec 05 b1 b2 b3 (three-byte Le); the data length is not cut to a byte
std::uint32_t FISC_ReadAllRecord_E(CardHandle hCard, unsigned char record, const unsigned char le[3],
                                   unsigned char* data, std::size_t dataCapacity, std::uint32_t* dataLength,
                                   FiscSW* sw);
// 00 D2 00 05 (n+2) rec n data; n <= 253
std::uint32_t FISC_WriteRecord(CardHandle hCard, unsigned char record, unsigned char n, const unsigned char* data,
                               FiscSW* sw);
// 00 D2 rec 04 n data
std::uint32_t FISC_UpdateRecord(CardHandle hCard, unsigned char record, unsigned char n, const unsigned char* data,
                                FiscSW* sw);
// 00 20 00 P2 08 block (callers use P2 0x10). The command is wiped from baSendBuf once sent (ulSendLen
// stays 13): the PIN lives no longer than its command.
std::uint32_t FISC_VerifyPIN(CardHandle hCard, unsigned char p2, const unsigned char pinBlock[8], FiscSW* sw);
// 00 E0 00 00 10 descriptor
std::uint32_t FISC_CreateFile(CardHandle hCard, const unsigned char descriptor[16], FiscSW* sw);
// 00 E6 00 P2 (n+10) value[8] k (n+8) data 08; n <= 245. The first 8 answer bytes go to tac
// (zero-filled when fewer came back).
std::uint32_t FISC_WriteRecordWithTAC(CardHandle hCard, unsigned char p2, const unsigned char value[8], unsigned char k,
                                      unsigned char n, const unsigned char* data, unsigned char tac[8], FiscSW* sw);
// 00 E2 P1 P2 n data 00. Answer: byte 0 unused, 1-8 serial number, 9-10 TAC length (big-endian),
// then the TAC. The transaction log is P1 P2 = 10 80.
std::uint32_t FISC_WriteRecordWithSNUMTAC(CardHandle hCard, const unsigned char p1p2[2], unsigned char n,
                                          const unsigned char* data, unsigned char* answer, std::size_t answerCapacity,
                                          unsigned char* answerLength, FiscSW* sw);
// 00 0E 00 00
std::uint32_t FISC_EraseEF(CardHandle hCard, FiscSW* sw);
// 00 76 00 00
std::uint32_t FISC_LockDF(CardHandle hCard, FiscSW* sw);
// 00 78 00 00 02 b1 b2
std::uint32_t FISC_UnlockDF(CardHandle hCard, const unsigned char value[2], FiscSW* sw);
// 00 2C 00 00 02 b1 b2
std::uint32_t FISC_UnlockKey(CardHandle hCard, const unsigned char value[2], FiscSW* sw);
// 00 86 00 00 08; copies the data bytes (at most 255)
std::uint32_t FISC_GenerateRandomNumber(CardHandle hCard, unsigned char* data, std::size_t dataCapacity, FiscSW* sw);
// 00 82 00 P2 08 value
std::uint32_t FISC_TerminalAuthentication(CardHandle hCard, unsigned char p2, const unsigned char value[8], FiscSW* sw);
// 00 88 00 P2 10 first second 10; copies every data byte
std::uint32_t FISC_CardAuthentication(CardHandle hCard, unsigned char p2, const unsigned char first[8],
                                      const unsigned char second[8], unsigned char* data, std::size_t dataCapacity,
                                      FiscSW* sw);
// 00 E8 00 04 n data
std::uint32_t FISC_BinaryAdd(CardHandle hCard, unsigned char n, const unsigned char* data, FiscSW* sw);
// 00 84 00 P2 08 value 08; copies every data byte
std::uint32_t FISC_SetSessionKey(CardHandle hCard, unsigned char p2, const unsigned char value[8], unsigned char* data,
                                 std::size_t dataCapacity, FiscSW* sw);
// 00 E4 01 04 n data
std::uint32_t FISC_UpdateRecordCiphered(CardHandle hCard, unsigned char n, const unsigned char* data, FiscSW* sw);
// 00 CA tagH tagL Le; *leInOut is Le going in and the data length coming out
std::uint32_t FISC_ReadData(CardHandle hCard, std::uint16_t tag, unsigned char* leInOut, unsigned char* data,
                            std::size_t dataCapacity, FiscSW* sw);
// 00 D6 offH offL n data
std::uint32_t FISC_UpdateData(CardHandle hCard, std::uint16_t offset, unsigned char n, const unsigned char* data,
                              FiscSW* sw);
// 00 AA 00 00 00 00 00; the full data length is reported
std::uint32_t FISC_ListFile(CardHandle hCard, unsigned char* data, std::size_t dataCapacity, std::uint32_t* dataLength,
                            FiscSW* sw);

// ---- Composite operations ------------------------------------------------------------------
// They return a PC/SC failure as it is, or the code of the step whose status word was not 9000:
constexpr std::uint32_t kFiscSelectParentFailed = 0x55000008;
constexpr std::uint32_t kFiscVerifyPinFailed = 0x55000002;
constexpr std::uint32_t kFiscSelectIssuerFileFailed = 0x55000003;
constexpr std::uint32_t kFiscReadRecordsFailed = 0x55000005;  // also: account index not in the answer
constexpr std::uint32_t kFiscWriteFailed = 0x55000006;        // also: an answer writeAnswer refuses

// Parent DF, EF 1001, all records from 3: the 16-character accounts, one per 16-byte slot of
// `accounts`; *count := 16 x the number of records (0 for none).
std::uint32_t FISC_ListAccounts(CardHandle hCard, unsigned char* count, unsigned char* accounts,
                                std::size_t accountsCapacity);

// Output record of the transaction composites: 0-7 issuer bank id, 8-37 remark, 38-53 account,
// 54-61 serial number, 62-63 TAC length (big-endian), 64.. TAC (at most 256 bytes), 320-323 the
// transaction code, 324-337 the date-time (not for FISC_Inquiry).
constexpr std::size_t kFiscCompositeOutputSize = 338;
// Smallest input record each composite reads.
constexpr std::size_t kFiscInquiryInputSize = 21;
constexpr std::size_t kFiscTransferInputSize = 67;
constexpr std::size_t kFiscPaymentInputSize = 65;
constexpr std::size_t kFiscTaxInputSize = 64;

std::uint32_t FISC_Inquiry(CardHandle hCard, const unsigned char* input, std::size_t inputSize, unsigned char* output,
                           std::size_t outputCapacity);
std::uint32_t FISC_Transfer(CardHandle hCard, const unsigned char* input, std::size_t inputSize, unsigned char* output,
                            std::size_t outputCapacity);
std::uint32_t FISC_Payment(CardHandle hCard, const unsigned char* input, std::size_t inputSize, unsigned char* output,
                           std::size_t outputCapacity);
std::uint32_t FISC_Tax(CardHandle hCard, const unsigned char* input, std::size_t inputSize, unsigned char* output,
                       std::size_t outputCapacity);
