// Settings fixed at build time: the postal bank's own bank code, the page origins allowed to drive the
// plug-in, and a few transaction codes and texts.
#ifndef RVP_CRYPTO_SETTING_H
#define RVP_CRYPTO_SETTING_H

#include <string>

extern const std::string SKBC;  // the postal bank's own bank code, "700"
extern const int TRANSFER;      // 2920
extern const int CARDSTART;     // 6100

// The bank list: 112 entries of a 3-digit bank code and the bank's name, each closed by "#", in the
// order of crypto/BankIDtxtList.txt (the build makes this text from that file).
extern const char BankIDtxtList[];

// Page origins: a page whose address matches one of the first WEBURLCNT entries may drive the plug-in.
extern const int WEBURLCNT;
extern const std::string WEBURL[8];

// Declared settings that no operation consults.
extern const std::string Card_inout_STR;
extern const std::string OCXNAME;
extern const std::string OCXPATH;
extern const int Card_inout_Timeout;
extern const int BHO_Trans_Timeout;
extern const char P_TRANSFER_1[7], P_TRANSFER_2[7], P_TRANSFER_3[7], P_TRANSFER_4[7], P_TRANSFER_5[7], P_TRANSFER_6[7],
    P_TRANSFER_7[7];
extern const char P_PAYMENT_1[7], P_PAYMENT_2[7], P_PAYMENT_3[7], P_PAYMENT_4[7], P_PAYMENT_5[7], P_PAYMENT_6[7],
    P_PAYMENT_7[7];
extern const char P_INQUIRY_1[7], P_INQUIRY_2[7], P_INQUIRY_3[7], P_INQUIRY_4[7], P_INQUIRY_5[7];

// Does nothing: the settings are initialised data.
void Setting();

#endif
