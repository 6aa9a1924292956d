// Text codec subcommands: urlencode, urldecode, remove-bracketed, rnd-token.
#include "command.h"
#include "json.h"

#include "sources/text_codecs.h"

namespace tavo::tool {
namespace {

int UrlEncode(const QStringList& args) {
    if (args.size() != 1) return UsageError("urlencode TEXT");
    QString text = args[0];
    PrintLine(JsonString(UrlEncodeUtf8(text)));
    return 0;
}

int UrlDecode(const QStringList& args) {
    if (args.size() != 1) return UsageError("urldecode TEXT");
    PrintLine(JsonString(UrlDecodeAnsi(args[0])));
    return 0;
}

int RemoveBracketedCmd(const QStringList& args) {
    if (args.size() != 3) return UsageError("remove-bracketed TEXT OPEN CLOSE");
    PrintLine(JsonString(RemoveBracketed(args[0], args[1], args[2])));
    return 0;
}

int RndTokenCmd(const QStringList& args) {
    if (!args.isEmpty()) return UsageError("rnd-token");
    PrintLine(JsonString(RndToken()));
    return 0;
}

const Registration r1{"urlencode", "urlencode TEXT", "percent-encode TEXT as a UTF-8 search query", &UrlEncode};
const Registration r2{"urldecode", "urldecode TEXT", "decode \"+\" and code page 936 \"%XX\" escapes", &UrlDecode};
const Registration r3{"remove-bracketed", "remove-bracketed TEXT OPEN CLOSE",
                      "remove groups OPEN...CLOSE from TEXT", &RemoveBracketedCmd};
const Registration r4{"rnd-token", "rnd-token", "print a fresh random query token", &RndTokenCmd};

}  // namespace
}  // namespace tavo::tool
