#include "demo_content.h"

#include "tune.h"

#include "platform/codepage.h"

#include <QString>

#include <algorithm>
#include <cstdio>

namespace tavo::services {

namespace {

std::uint32_t Fnv1a(const std::string& bytes) {
    std::uint32_t h = 2166136261u;
    for (unsigned char c : bytes) {
        h ^= c;
        h *= 16777619u;
    }
    return h;
}

// Mixes a few numbers into one, for choosing songs of a chart page.
std::uint32_t Mix(std::uint32_t a, std::uint32_t b) {
    std::uint32_t h = a * 0x9E3779B1u ^ (b + 0x7F4A7C15u + (a << 6) + (a >> 2));
    h ^= h >> 16;
    h *= 0x85EBCA6Bu;
    h ^= h >> 13;
    return h;
}

std::string JsonEscape(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out;
}

// An address as the playlist service writes it: every "/" escaped.
std::string JsonUrl(const std::string& s) {
    std::string out;
    for (char c : JsonEscape(s)) {
        if (c == '/') out += '\\';
        out += c;
    }
    return out;
}

std::string Hex8(std::uint32_t v) {
    char buf[9];
    std::snprintf(buf, sizeof buf, "%08x", v);
    return buf;
}

std::string Two(int v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}

// Lowercase ASCII, without the characters the lists drop or change and
// without bracketed groups.
std::string Normalize(const std::string& utf8) {
    std::string out;
    int depth = 0;
    for (char c : utf8) {
        if (c == '(') {
            ++depth;
            continue;
        }
        if (c == ')') {
            if (depth > 0) --depth;
            continue;
        }
        if (depth > 0) continue;
        if (std::string_view(" +-_&/\\\"#'\t\r\n;").find(c) != std::string_view::npos) continue;
        out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return out;
}

bool HasNonAscii(const std::string& s) {
    return std::any_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

const std::vector<std::string>& ChinesePhrases() {
    static const std::vector<std::string> p = {
        "晚风吹过长长的街", "路灯一盏一盏亮起来", "我把想念写进信里", "寄给远方的你",
        "屋檐下的雨停了又下", "旧唱机还在轻轻地转", "你说春天会来得很慢", "我就在路口慢慢地等",
        "山那边有一片云", "像你离开时的背影", "小船摇啊摇到岸边", "星星落在水面上",
        "把今天折成纸飞机", "飞过屋顶飞过河", "一杯茶慢慢变凉", "窗外的树又绿了一遍",
        "走过的路都记得", "笑过的人都还在", "就让这首歌陪着你", "从清晨唱到黄昏",
    };
    return p;
}

const std::vector<std::string>& EnglishPhrases() {
    static const std::vector<std::string> p = {
        "The evening light is falling slow", "I count the trains that come and go",
        "Your letters fold like paper wings", "And carry all the little things",
        "We walked along the silver shore", "And didn't need to say much more",
        "The radio hums a quiet tune", "Beneath a pale September moon",
        "Hold on, the morning isn't far", "I'll find you by the northern star",
        "Every road leads back to you", "Every sky is painted blue",
        "So sing it softly, sing it low", "And let the river take it slow",
    };
    return p;
}

}  // namespace

const std::vector<DemoSong>& DemoSongs() {
    static const std::vector<DemoSong> songs = {
        {"晚风里的灯塔", "林小舟"}, {"纸船去远方", "陈默然"}, {"青瓦巷口", "白鹭乐队"},
        {"北站的月台", "苏晚晴"}, {"橘子汽水", "何一帆"}, {"十一月的雪松", "周临川"},
        {"落在肩上的光", "苏晚晴&何一帆"}, {"城南旧信", "许青禾"}, {"海盐与风", "林小舟"},
        {"慢车去山里", "云朵合唱团"}, {"雨打芭蕉叶", "许青禾"}, {"屋顶上的猫", "陈默然"},
        {"一杯温茶", "周临川"}, {"星河渡口", "白鹭乐队"}, {"旧唱片(Live)", "叶知秋"},
        {"小镇钟声", "叶知秋"}, {"田埂上的风筝", "何一帆"}, {"午夜电台", "苏晚晴"},
        {"远山的回声", "周临川"}, {"石榴花开", "云朵合唱团"}, {"半岛晴天", "林小舟"},
        {"第七颗星", "许青禾"}, {"长街灯火", "陈默然"}, {"蓝色邮筒", "叶知秋"},
        {"清晨的渡轮", "白鹭乐队"}, {"春日来信", "苏晚晴"}, {"竹林听雨", "丝竹坊"},
        {"湖心亭", "丝竹坊"}, {"松间明月", "沈一弦"}, {"晨露", "沈一弦"},
        {"云上牧歌", "沈一弦"}, {"江畔晚钟", "丝竹坊"}, {"相逢在秋天", "宋雅琴"},
        {"窗前的丁香", "宋雅琴"}, {"甜甜的梦", "罗家明"}, {"海边的老船长", "罗家明"},
        {"送你一朵云", "宋雅琴"}, {"岁月长桥", "罗家明"}, {"故乡的小木桥", "韩素梅"},
        {"月下小河", "韩素梅"},
        {"Paper Lanterns", "Mira Vale", true}, {"Northbound Train", "The Quiet Harbors", true},
        {"Salt and Cedar", "Owen Marsh", true}, {"Glasshouse Summer", "Mira Vale", true},
        {"Midnight Ferry", "Juniper & The Lows", true}, {"Copper Skies", "Owen Marsh", true},
        {"Slow Rivers", "The Quiet Harbors", true}, {"Static Hearts", "Neon Orchard", true},
        {"Lighthouse Keeper", "Juniper & The Lows", true}, {"Velvet Morning", "Neon Orchard", true},
        {"Ten Thousand Kites", "Ada Wren", true}, {"Blue Postcard", "Ada Wren", true},
        {"Gravel Roads", "Tom Birch", true}, {"Echo Valley", "Tom Birch", true},
        {"Sunday Static (Remix)", "Neon Orchard", true}, {"Cold Coffee", "Lena Shore", true},
        {"Marigold Lane", "Lena Shore", true}, {"Pier Seven", "The Quiet Harbors", true},
        {"Wildfire Road", "Tom Birch", true}, {"Orchard Lights", "Ada Wren & Owen Marsh", true},
    };
    return songs;
}

std::uint32_t SongSeed(const std::string& title, const std::string& artist) {
    return Fnv1a(Normalize(title + artist));
}

const DemoSong* FindSong(std::uint32_t seed) {
    for (const DemoSong& s : DemoSongs())
        if (SongSeed(s.title, s.artist) == seed) return &s;
    return nullptr;
}

std::string SongPath(std::uint32_t seed) { return "/song/t" + Hex8(seed) + ".wav"; }

bool ParseSongPath(const std::string& path, std::uint32_t& seed) {
    if (path.size() != 19 || path.compare(0, 7, "/song/t") != 0 || path.compare(15, 4, ".wav") != 0) return false;
    std::uint32_t v = 0;
    for (int i = 7; i < 15; ++i) {
        const char c = path[i];
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else return false;
        v = v * 16 + static_cast<std::uint32_t>(d);
    }
    seed = v;
    return true;
}

const std::vector<DemoChart>& DemoCharts() {
    static const std::vector<DemoChart> charts = {
        {0, "网络音乐金曲榜", false}, {15, "中国无线音乐销量榜", false}, {16, "百度中文金曲榜", false},
        {1, "香港电台中文龙虎榜", false}, {2, "劲歌金曲榜", false}, {3, "香港电台叱吒903", false},
        {4, "劲爆本地榜", false}, {5, "幽浮劲碟榜", false}, {6, "Hito排行榜", false},
        {7, "醉心龙虎榜", false}, {8, "ChannelＶ", true}, {9, "MTV封神榜", true},
        {11, "BBC MUSIC TOP20", true}, {12, "The Billboard Hot 100", true},
    };
    return charts;
}

const DemoChart* FindChart(int page) {
    for (const DemoChart& c : DemoCharts())
        if (c.page == page) return &c;
    return nullptr;
}

std::string RadioPlaylistJson(const std::string& base, std::uint64_t batch) {
    const auto& songs = DemoSongs();
    constexpr int kBatch = 8;
    std::string out = "{\"r\":0,\"is_show_quick_start\":0,\"song\":[";
    for (int i = 0; i < kBatch; ++i) {
        const std::size_t k = (batch * 5 + static_cast<std::size_t>(i) * 7) % songs.size();
        const DemoSong& s = songs[k];
        const std::uint32_t seed = SongSeed(s.title, s.artist);
        if (i > 0) out += ",";
        // Field order matters to the reader: artist, url and title are the
        // seventh to ninth values.
        out += "{\"album\":\"\\/subject\\/" + std::to_string(1000 + k) + "\\/\",\"picture\":\"" + JsonUrl(base + "/music/cover.jpg") + "\",\"ssid\":\"" + Hex8(seed).substr(0, 4) + "\",\"albumtitle\":\"" +
               JsonEscape(s.english ? "Demo Sessions" : "演示精选") + "\",\"company\":\"Tavo Demo\",\"rating_avg\":\"4." +
               std::to_string(k % 10) + "\",\"artist\":\"" + JsonEscape(s.artist) + "\",\"url\":\"" +
               JsonUrl(base + SongPath(seed)) + "\",\"title\":\"" + JsonEscape(s.title) + "\",\"length\":\"" +
               std::to_string(SongSeconds(seed)) + "\",\"like\":\"0\",\"subtype\":\"\",\"public_time\":\"2010\",\"sid\":\"" +
               std::to_string(k + 1) + "\",\"aid\":\"" + std::to_string(1000 + k) + "\",\"kbps\":\"64\"}";
    }
    out += "]}";
    return out;
}

std::string FeedXml(const std::string& kind) {
    std::vector<std::size_t> picks;
    if (kind == "jingdianlaoge") picks = {32, 33, 34, 35, 36, 37, 38, 39, 7, 10, 15, 2};
    else if (kind == "qingyinyue") picks = {26, 27, 28, 29, 30, 31, 9, 13, 50, 46, 12, 24};
    else return {};
    std::string out = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<playlist channel=\"" + kind + "\">\r\n";
    for (std::size_t k : picks) {
        const DemoSong& s = DemoSongs()[k];
        out += "  <item>\r\n    <song>" + s.title + "</song>\r\n    <artist>" + s.artist + "</artist>\r\n  </item>\r\n";
    }
    out += "</playlist>\r\n";
    return out;
}

std::string Utf8ToCp936(const std::string& utf8) {
    return platform::EncodeCp936(QString::fromStdString(utf8)).toStdString();
}

std::string AnyToUtf8(const std::string& bytes) {
    if (platform::IsValidUtf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())))) return bytes;
    return platform::DecodeGb18030(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size()))).toStdString();
}

std::string PercentEncodeCp936(const std::string& utf8) {
    std::string out;
    char buf[4];
    for (char ch : Utf8ToCp936(utf8)) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == ' ') {
            out += '+';
        } else if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '(' || c == ')' ||
                   c == '&') {
            out += static_cast<char>(c);
        } else {
            std::snprintf(buf, sizeof buf, "%%%02X", c);
            out += buf;
        }
    }
    return out;
}

namespace {

std::string PeriodTitle(const DemoChart& chart, int period) {
    // Exactly five characters: the index page's reader keeps five.
    const int week = 18 - period;
    return chart.english ? "WK-" + Two(week) : "第0" + Two(week) + "期";
}

std::string EntryName(const DemoChart& chart, int entry) {
    if (chart.english) return entry == 0 ? "Top Singles" : "New Entries";
    return entry == 0 ? "华语金曲" : "新歌速递";
}

std::string EntryPath(const DemoChart& chart, int period, int entry) {
    return "/top/html_top/top" + std::to_string(chart.page) + "/p0" + Two(18 - period) + "_" + std::to_string(entry + 1) +
           ".htm";
}

}  // namespace

std::string ChartIndexPage(const DemoChart& chart) {
    std::string page =
        "<html>\r\n<head><meta http-equiv='Content-Type' content='text/html; charset=gb2312'>\r\n<title>" + chart.name +
        "</title></head>\r\n<body>\r\n<h1>" + chart.name + "</h1>\r\n";
    for (int p = 0; p < kChartPeriods; ++p) {
        page += "<div class='rankblock'><h2><code>" + PeriodTitle(chart, p) + "</code> 2010-05-" + Two(7 + 7 * p) +
                "</h2><ul>\r\n";
        for (int e = 0; e < kChartEntries; ++e)
            page += "<li><a href='" + EntryPath(chart, p, e) + "'>" + EntryName(chart, e) + "</a></li>\r\n";
        page += "</ul></div>\r\n";
    }
    page += "</body>\r\n</html>\r\n";
    return Utf8ToCp936(page);
}

std::vector<const DemoSong*> ChartEntrySongs(const DemoChart& chart, int period, int entry) {
    std::vector<const DemoSong*> pool;
    for (const DemoSong& s : DemoSongs())
        if (s.english == chart.english || (chart.page == 8 || chart.page == 9)) pool.push_back(&s);
    // A fixed shuffle for each page.
    std::uint32_t h = Mix(static_cast<std::uint32_t>(chart.page), static_cast<std::uint32_t>(period * 16 + entry));
    for (std::size_t i = pool.size(); i > 1; --i) {
        h = Mix(h, static_cast<std::uint32_t>(i));
        std::swap(pool[i - 1], pool[h % i]);
    }
    pool.resize(std::min<std::size_t>(pool.size(), kSongsPerEntry));
    return pool;
}

std::string ChartSongPage(const DemoChart& chart, int period, int entry) {
    if (period < 0 || period >= kChartPeriods || entry < 0 || entry >= kChartEntries) return {};
    std::string page = "<html>\r\n<head><meta http-equiv='Content-Type' content='text/html; charset=gb2312'><title>" +
                       chart.name + " " + PeriodTitle(chart, period) + " " + EntryName(chart, entry) +
                       "</title></head>\r\n<body>\r\n<form name='songlist'>\r\n<table>\r\n";
    int rank = 1;
    for (const DemoSong* s : ChartEntrySongs(chart, period, entry)) {
        const std::uint32_t seed = SongSeed(s->title, s->artist);
        page += "<tr><td>" + std::to_string(rank) + "</td><td><input type='checkbox' checked='checked' name='Checkbox' value='" +
                std::to_string(rank) + "|" + Hex8(seed) + "|" + PercentEncodeCp936(s->title) + "|" +
                PercentEncodeCp936(s->artist) + "|0'></td><td>" + s->title + "</td><td>" + s->artist + "</td></tr>\r\n";
        ++rank;
    }
    page += "</table>\r\n</form>\r\n</body>\r\n</html>\r\n";
    return Utf8ToCp936(page);
}

std::string SearchReplyJsonp(const std::string& base, const std::string& query, const std::string& callback) {
    const std::uint32_t seed = Fnv1a(Normalize(query));
    const DemoSong* known = FindSong(seed);
    const std::string name = known ? known->title + " - " + known->artist : query;
    const std::string url = base + SongPath(seed);
    // Every "url" value is followed by another value: the player cuts each
    // one up to the next "," between quotes.
    std::string out = callback + "({\"query\":\"" + JsonEscape(query) + "\",\"count\":2,\"links\":[";
    out += "{\"url\":\"" + url + "\",\"name\":\"" + JsonEscape(name) + "\",\"format\":\"wav\"},";
    out += "{\"url\":\"" + url + "?mirror=2\",\"name\":\"" + JsonEscape(name) + "\",\"format\":\"wav\"}";
    out += "]})";
    return out;
}

std::string LyricsXml(const std::string& song, const std::string& singer) {
    const std::string title = AnyToUtf8(song);
    const std::string artist = AnyToUtf8(singer);
    const std::uint32_t seed = SongSeed(title, artist);
    const DemoSong* known = FindSong(seed);
    const bool english = known ? known->english : !HasNonAscii(title + artist);
    const auto& phrases = english ? EnglishPhrases() : ChinesePhrases();
    const int seconds = SongSeconds(seed);

    std::string lrc = "[ti:" + title + "]\n[ar:" + artist + "]\n[by:Tavo Demo]\n";
    lrc += "[00:00.50]" + title + (artist.empty() ? "" : " - " + artist) + "\n";
    // One line every four seconds or so, the last one before the song ends.
    const int lines = std::max(1, (seconds - 4) / 4);
    const std::size_t first = seed % phrases.size();
    for (int i = 0; i < lines; ++i) {
        const int centis = 300 + i * (seconds - 4) * 100 / lines;
        lrc += "[" + Two(centis / 6000) + ":" + Two(centis / 100 % 60) + "." + Two(centis % 100) + "]" +
               phrases[(first + static_cast<std::size_t>(i)) % phrases.size()] + "\n";
    }
    return "<?xml version=\"1.0\" encoding=\"GB2312\" ?>\n<lyric>\n<![CDATA[" + lrc + "]]>\n</lyric>\n";
}

std::string UpdateNotice(const std::string& base, const std::string& version) {
    return version + "{|}" + base + "/music/{++}" + "欢迎使用本地演示服务：无需联网也能试听{|}" + base +
           "/music/demo.htm{++}" + "演示曲目与歌词均由程序即时合成{|}" + base + "/music/about.htm";
}

const std::vector<DemoStation>& DemoStations() {
    static const std::vector<DemoStation> stations = {
        {"晨光音乐台", "morning"}, {"午后咖啡台", "afternoon"}, {"夜航轻音乐", "night"},
        {"Harbor FM (English)", "harbor"}, {"老歌回放台", "oldies"},
    };
    return stations;
}

}  // namespace tavo::services
