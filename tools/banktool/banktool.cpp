#include "tools/banktool/banktool.h"

#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <vector>

#include <openssl/bio.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>

#include "crypto/base64.h"
#include "crypto/charset.h"
#include "crypto/hexcodec.h"
#include "crypto/mac.h"
#include "crypto/rsaseal.h"
#include "crypto/selectkey.h"
#include "crypto/tripledes.h"

namespace banktool {
namespace {

constexpr std::size_t kMacTextLength = 29;  // 28 base64 characters and "\n"

PKeyPtr readPrivateKey(const std::string& pem) {
    BIO* source = BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size()));
    if (!source) return nullptr;
    PKeyPtr key(PEM_read_bio_PrivateKey(source, nullptr, nullptr, nullptr));
    BIO_free(source);
    return key;
}

std::optional<std::string> rsaDecrypt(EVP_PKEY* key, const std::string& cipher) {
    std::unique_ptr<EVP_PKEY_CTX, void (*)(EVP_PKEY_CTX*)> ctx(EVP_PKEY_CTX_new(key, nullptr), EVP_PKEY_CTX_free);
    if (!ctx || EVP_PKEY_decrypt_init(ctx.get()) <= 0 ||
        EVP_PKEY_CTX_set_rsa_padding(ctx.get(), RSA_PKCS1_PADDING) <= 0)
        return std::nullopt;
    const auto* in = reinterpret_cast<const unsigned char*>(cipher.data());
    std::size_t outLen = 0;
    if (EVP_PKEY_decrypt(ctx.get(), nullptr, &outLen, in, cipher.size()) <= 0) return std::nullopt;
    std::vector<unsigned char> out(outLen);
    if (EVP_PKEY_decrypt(ctx.get(), out.data(), &outLen, in, cipher.size()) <= 0) return std::nullopt;
    return std::string(reinterpret_cast<char*>(out.data()), outLen);
}

// First 16 bytes of a built-in key given as its joined pieces with "\n".
std::string decodedKey(const std::string& keyText) {
    std::string key = base64Decode(keyText);
    return key.size() >= 16 ? key.substr(0, 16) : std::string();
}

const unsigned char* u8(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); }

std::string encipherHex(const std::string& keyText, const unsigned char iv[8], const std::string& clear,
                        bool padding) {
    std::string key = decodedKey(keyText);
    if (key.empty()) return std::string();
    std::optional<std::string> cipher = tripleDesCbc(true, u8(key), iv, clear, padding);
    return cipher ? hexcodec::toHex(*cipher) : std::string();
}

std::string bhoKeyText() { return joinedBHOKey() + "\n"; }

}  // namespace

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::string();
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string devPrivateKeyPem() { return readFile(RVP_DEV_PRIVATE_KEY_FILE); }

bool unsealRsaPieces(const std::string& sealed, const std::string& privateKeyPem, std::string& clear,
                     std::string& error) {
    clear.clear();
    PKeyPtr key = readPrivateKey(privateKeyPem);
    if (!key) return error = "the private key cannot be read", false;
    if (sealed.empty() || sealed.back() != '%') return error = "the sealed text does not end with \"%\"", false;
    std::size_t start = 0;
    for (std::size_t end = sealed.find('%'); end != std::string::npos; end = sealed.find('%', start)) {
        std::string cipher = base64Decode(sealed.substr(start, end - start));
        std::optional<std::string> piece = cipher.empty() ? std::nullopt : rsaDecrypt(key.get(), cipher);
        if (!piece) return error = "an RSA piece does not decipher", false;
        clear += *piece;
        start = end + 1;
    }
    return true;
}

OpenedEnvelope openEnvelope(const std::string& trnsMsg, const std::string& privateKeyPem) {
    OpenedEnvelope env;
    std::size_t split = trnsMsg.find('%');
    if (split == std::string::npos) return env.error = "no \"%\" after the cipher text", env;
    if (!unsealRsaPieces(trnsMsg.substr(split + 1), privateKeyPem, env.sessionNumber, env.error)) return env;
    if (env.sessionNumber.size() != 16) return env.error = "the session number is not 16 characters", env;

    std::string cipher = base64Decode(trnsMsg.substr(0, split));
    std::optional<std::string> body =
        cipher.empty() ? std::nullopt : tripleDesCbc(false, u8(env.sessionNumber), kZeroTextIV, cipher, true);
    if (!body) return env.error = "the body does not decipher under the session number", env;
    if (body->size() < kMacTextLength) return env.error = "the body is shorter than its MAC", env;

    env.rawText = body->substr(0, body->size() - kMacTextLength);
    env.mac = body->substr(body->size() - kMacTextLength);
    env.macOk = !env.mac.empty() && env.mac == HMAC_Data(env.rawText);
    env.text = env.rawText;
    if (needsCharsetConversion(env.rawText)) {
        if (std::optional<std::string> utf8 = convertCharset(env.rawText, "UTF-8", "BIG5")) env.text = *utf8;
    }
    env.ok = true;
    return env;
}

ChallengeAnswer decodeChallengeAnswer(const std::string& answer, const std::string& clearChallenge,
                                      const std::string& privateKeyPem) {
    ChallengeAnswer out;
    if (!unsealRsaPieces(answer, privateKeyPem, out.clear, out.error)) return out;
    if (out.clear.size() != 86) return out.error = "the answer is not 86 bytes", out;
    out.mac = out.clear.substr(0, 29);
    out.token = out.clear.substr(29, 8);
    out.clientFlag = out.clear.substr(37, 1);
    out.installPath = out.clear.substr(38);
    out.macOk = out.mac == HMAC_CR(clearChallenge);
    out.ok = true;
    return out;
}

std::string makeChallenge(const std::string& clearChallenge) {
    std::string key = decodedKey(readDESKey());
    if (key.empty()) return std::string();
    std::optional<std::string> cipher = tripleDesCbc(true, u8(key), kZeroTextIV, clearChallenge, true);
    return cipher ? base64EncodeLine(u8(*cipher), cipher->size()) : std::string();
}

std::string makeIvBlock(const unsigned char iv[8]) {
    return encipherHex(readDESKey(), kZeroTextIV, std::string(reinterpret_cast<const char*>(iv), 8), true);
}

std::string makeParamBlock(const std::string& text, const unsigned char iv[8]) {
    std::string sent = text;
    if (needsCharsetConversion(text)) {
        if (std::optional<std::string> big5 = convertCharset(text, "BIG5", "UTF-8")) sent = *big5;
    }
    return encipherHex(bhoKeyText(), iv, sent, true);
}

std::string makeRawParamBlock(const std::string& clearBlocks, const unsigned char iv[8]) {
    if (clearBlocks.empty() || clearBlocks.size() % 8 != 0) return std::string();
    return encipherHex(bhoKeyText(), iv, clearBlocks, false);
}

}  // namespace banktool
