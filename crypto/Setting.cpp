#include "crypto/Setting.h"

// Texts are constructed in this order at load.
const std::string SKBC = "700";
const std::string Card_inout_STR = "為了使網路交易更安全，請依下列步驟操作：";
// Development origins; a deployment replaces them with its own hosts and addresses.
const std::string WEBURL[8] = {
    "192.168.10.21",                 // a private-network address
    "atmdev-01",                     // a developer workstation
    "localhost:8080",                // the local host with a port
    "192.168.20.",                   // a private-network prefix
    "192.168.10.35",                 // a private-network address
    "webatm-test.postbank.example",  // the bank's test web host
    "webatm.postbank.example",       // the bank's production web host
    "172.16.5.10",                   // an address of another private range
};
const std::string OCXNAME = "DUZIVUREZORO.ocx";
const std::string OCXPATH = "ATM_700";

const int TRANSFER = 2920;
const int CARDSTART = 6100;
const int WEBURLCNT = 8;
const int Card_inout_Timeout = 600;
const int BHO_Trans_Timeout = 540;

const char P_TRANSFER_1[7] = "P014A1", P_TRANSFER_2[7] = "P014A2", P_TRANSFER_3[7] = "G004A4",
           P_TRANSFER_4[7] = "G004A2", P_TRANSFER_5[7] = "P014A8", P_TRANSFER_6[7] = "I03533",
           P_TRANSFER_7[7] = "I03537";
const char P_PAYMENT_1[7] = "P014A5", P_PAYMENT_2[7] = "P014A6", P_PAYMENT_3[7] = "P014A9", P_PAYMENT_4[7] = "P014AA",
           P_PAYMENT_5[7] = "P014AB", P_PAYMENT_6[7] = "P014AC", P_PAYMENT_7[7] = "P014AD";
const char P_INQUIRY_1[7] = "P611A1", P_INQUIRY_2[7] = "P611A2", P_INQUIRY_3[7] = "P611A6", P_INQUIRY_4[7] = "GJ01A2",
           P_INQUIRY_5[7] = "P611A9";

void Setting() {}
