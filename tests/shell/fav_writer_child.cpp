// shell_fav_writer FILE LIMIT MODE LINES: appends LINES songs to the
// favourites file FILE with the process's file size limit set to LIMIT
// bytes. MODE "kill": writing past the limit kills the process (SIGXFSZ),
// as a crash in the middle of the write would. MODE "full": the signal is
// ignored and the write fails, as on a full disk.
// Exit codes: 0 written, 3 the write failed, 2 bad arguments.
#include "app/favourites_file.h"

#include <QString>
#include <QStringList>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <sys/resource.h>

int main(int argc, char** argv) {
    if (argc != 5) return 2;
    const rlim_t limit = std::strtoull(argv[2], nullptr, 10);
    const bool kill = std::strcmp(argv[3], "kill") == 0;
    const int count = std::atoi(argv[4]);
    QStringList lines;
    for (int i = 0; i < count; ++i) lines.append(QStringLiteral("新歌 %1 ┈ 歌手<|>").arg(i));
    if (!kill) std::signal(SIGXFSZ, SIG_IGN);
    const rlimit rl{limit, limit};
    if (setrlimit(RLIMIT_FSIZE, &rl) != 0) return 2;
    return tavo::FavouritesEditor(argv[1]).Append(lines) ? 0 : 3;
}
