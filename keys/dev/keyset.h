/* Development key set (made by keys/dev/make-keyset). Not the bank's keys. */
#ifndef RVP_KEYSET_H
#define RVP_KEYSET_H
#define RVP_KEY_MACI "b2ve++py"
#define RVP_KEY_MACII "KIvKAnHZ"
#define RVP_KEY_MACIII "l4nFpg=="
#define RVP_KEY_CRI "6tc3sVbN"
#define RVP_KEY_CRII "FXRqvGEC"
#define RVP_KEY_CRIII "4+r5Rw=="
#define RVP_KEY_BHOI "EtdRSJhX"
#define RVP_KEY_BHOII "1T/Clwil"
#define RVP_KEY_BHOIII "HpfRBw=="
#define RVP_KEY_DESI "1PUPAEtc"
#define RVP_KEY_DESII "IDzJqlBo"
#define RVP_KEY_DESIII "7fKdAA=="
#define RVP_KEY_RSAI "MIGfMA0GCSqGSIb3DQEBAQUAA4GNADCBiQKBgQCw90g90lCB23Mfm34xwSOunYOOhDLqi1mKqs8X"
#define RVP_KEY_RSAII "FT2vzsn22naAMvEGGAaYuscRTYjcaJcnWs1ZPjc29xB56AdOUkzIw7PsqZccxFMs6tgVq1XMPmgB"
#define RVP_KEY_RSAIII "FDtjS9dlkJHvWnCjFq0dTVSWsNLaU11zEevU6TI/o91qoH336pcNzBRHzwIDAQAB"
#endif
