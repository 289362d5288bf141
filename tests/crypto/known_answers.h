#pragma once
// Known answers computed once with the openssl command line (OpenSSL 3.0) from the development key set,
// never with our own code, so that the plug-in's crypto and the bank-side tool are each held to the
// message format rather than to each other. Keys as hex (from keys/dev/keyset.h, base64-decoded):
//   request MAC key        6f6bdefbea72288bca0271d99789c5a6
//   challenge MAC key      ead737b156cd15746abc6102e3eaf947
//   page-parameter key     12d751489857d53fc29708a51e97d107
//   server-challenge key   d4f50f004b5c203cc9aa5068edf29d00
// Triple-DES IV: the ASCII text "00000000" (3030303030303030).

#include <string>

namespace kat {

// A request of 116 bytes; the MAC covers bytes 32 to 61: "><session_id>SESSION000000001<".
const std::string kRequest =
    "<Vennoral><tx_code>2500</tx_code><session_id>SESSION000000001</session_id><issuer_id>00400001</issuer_id>"
    "</Vennoral>";

// printf '%s' "><session_id>SESSION000000001<" |
//   openssl dgst -sha1 -mac HMAC -macopt hexkey:6f6bdefbea72288bca0271d99789c5a6 -binary | openssl base64
const std::string kRequestMac = "qDKJYXzi52LioAc09r3wwlic2aA=\n";

// printf '%s' A1B2C3D4E5 |
//   openssl dgst -sha1 -mac HMAC -macopt hexkey:ead737b156cd15746abc6102e3eaf947 -binary | openssl base64
const std::string kChallengeMac = "Vv6lslDmF2ZMathuW+F2og4X5jY=\n";

// printf '%s' A1B2C3D4E5F6G7H8 |
//   openssl enc -des-ede-cbc -K d4f50f004b5c203cc9aa5068edf29d00 -iv 3030303030303030 | openssl base64 -A
const std::string kChallenge = "zKb6erYt/bzkAk6Jg+1xrnKaJtiPmXCb";

// The session number "0123456789ABCDEF" as the Triple-DES key of the request and its MAC text:
// cat request mac | openssl enc -des-ede-cbc -K 30313233343536373839414243444546 -iv 3030303030303030 |
//   openssl base64 -A
const std::string kEnvelopeBody =
    "XzMMvrHUiXIIgXKwkuQ/OC33f4vOO9EObDB8JO6wyNh+Bi/EqFlSpSpFny6cKKudUdhu9mVTqN33tx2EB0tWJuIy9Pv98Cs/geCdjYae"
    "QZB/NYmdOhEyzKDrin7OfeGarA+Dkz9lY7EpGUNJx1b8GrnfjG2kZ9+abk+99pg2EJS5uUQWqyltCAfWNFS5S/YVF5A1XPAGWM0=";

// printf 0123456789ABCDEF | openssl pkeyutl -encrypt -pubin -inkey <the built-in public key as PEM>
//   -pkeyopt rsa_padding_mode:pkcs1 | openssl base64   (PKCS#1 v1.5 padding is random: one of many)
const std::string kSealedSession =
    "hld3t8H9fj131hV76x0YkTYZJPnLS8rlh1wz5GE73bCAfQbmHgMUmFAsc1T5l+Yn\n"
    "Yyh1V58OacYohXQc+CtNjhOYcF/7eoAXuRTYhXb74RtdbfhNZoOU7Yp7JyNisYdE\n"
    "zRV8oz6m3Dj0OXKM6r2hfpEqTG9aXpOgLHcajV80peQ=\n";

}  // namespace kat
