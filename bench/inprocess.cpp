// The figures measured inside one process, on a generated catalogue: the
// switch to a 25-track disc (the load and the repaint, offscreen), the index
// rewritten against writing and syncing the same bytes, the print layout of
// all discs at two sizes, and a settings write. Prints "name value" lines.
//
//   bench_inprocess DATA_DIR SETTINGS_FILE
#include "main/Screenres.h"
#include "main/frmMain.h"
#include "store/Module1.h"
#include "store/PrintLayout.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

namespace {

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

template <class F> double millis(F&& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

void report(const char* name, double value)
{
    std::printf("%s %.4f\n", name, value);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setUpApplication();
    if (argc < 3)
        return 2;
    const QString data = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir scratch;
    // Settings and catalogue are written below: work on copies.
    const QString settingsFile = scratch.filePath(QStringLiteral("settings.ini"));
    QFile::copy(QString::fromLocal8Bit(argv[2]), settingsFile);
    Module1 state({scratch.path(), settingsFile, 1280, data});
    frmMain window(state);
    if (!window.Form_Load())
        return 1;
    window.show();

    // Two discs of 25 tracks, shown in turn.
    QList<int> full;
    for (int row = 0; row < state.DiscCount && full.size() < 2; ++row)
        if (state.Discs.at(row).count == QLatin1String("25"))
            full.append(row);
    if (full.size() == 2) {
        QList<double> switches;
        for (int turn = 0; turn < 40; ++turn)
            switches.append(millis([&] {
                window.cmbDisc->setCurrentIndex(full.at(turn % 2));
                window.repaint();
            }));
        report("switch_ms", median(switches));
    }

    // The index of every disc, rewritten; against the same bytes written and
    // synced to a file beside it.
    const QList<catalogue::DiscRow> discs = state.Discs.mid(0, state.DiscCount);
    const QString index = scratch.filePath(QStringLiteral("index.txt"));
    const QString plain = scratch.filePath(QStringLiteral("plain.txt"));
    QList<double> ratios;
    for (int turn = 0; turn < 15; ++turn) {
        const double ours =
            millis([&] { catalogue::writeAtomically(index, catalogue::indexBytes(discs)); });
        const QByteArray bytes = catalogue::indexBytes(discs);
        const double floor = millis([&] {
            const int fd =
                ::open(QFile::encodeName(plain).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            [[maybe_unused]] const ssize_t written =
                ::write(fd, bytes.constData(), size_t(bytes.size()));
            ::fsync(fd);
            ::close(fd);
        });
        ratios.append(ours / floor);
    }
    report("index_rewrite_ratio", median(ratios));

    // The print layout of all discs: a tenth of them, and all of them. Both
    // take their memory from the allocator's heap: glibc hands a block over
    // 32 MB (the text of 20,000 discs) fresh from the kernel on every call,
    // page by page, but keeps smaller ones for reuse, which would make the
    // growth the kernel's page faults rather than the layout's.
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, INT_MAX);
    const QList<catalogue::DiscTracks> all = state.catalogue().allDiscs();
    const QStringList fields = {QStringLiteral("Title"), QStringLiteral("Artist")};
    QList<double> tenth, whole;
    for (int turn = 0; turn < 5; ++turn) {
        tenth.append(millis([&] { printing::allDiscs(all.mid(0, all.size() / 10), fields); }));
        whole.append(millis([&] { printing::allDiscs(all, fields); }));
    }
    report("print_layout_growth", median(whole) / median(tenth));

    // One settings write with every disc's section in the file.
    QList<double> writes;
    for (int turn = 0; turn < 15; ++turn)
        writes.append(millis([&] {
            state.settings().setDiscLength(discs.at(turn).name, QStringLiteral("1:20:00"));
        }));
    report("settings_write_ms", median(writes));
    return 0;
}
