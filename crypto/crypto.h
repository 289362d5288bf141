// Everything the crypto area offers, for callers that want it all.
#ifndef RVP_CRYPTO_CRYPTO_H
#define RVP_CRYPTO_CRYPTO_H

#include "crypto/CVKB.h"
#include "crypto/ParseEncParam.h"
#include "crypto/Setting.h"
#include "crypto/base64.h"
#include "crypto/charset.h"
#include "crypto/hexcodec.h"
#include "crypto/mac.h"
#include "crypto/random.h"
#include "crypto/rsaseal.h"
#include "crypto/selectkey.h"
#include "crypto/softcbc.h"
#include "crypto/softdes.h"
#include "crypto/tripledes.h"

#endif
