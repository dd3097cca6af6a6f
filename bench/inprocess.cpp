// The figures measured inside one process, on a generated catalogue: the
// switch to a 25-track disc (the load and the repaint, offscreen), the index
// rewritten against writing and syncing the same bytes, the print layout of
// all discs at two sizes, a settings write, and the songs of the catalogue:
// their first read and the duplicates and figures against a search of every
// file, and the track window's "Also on" line. Prints "name value" lines.
//
//   bench_inprocess DATA_DIR SETTINGS_FILE
#include "editing/frmNewt.h"
#include "main/Screenres.h"
#include "main/frmMain.h"
#include "store/Module1.h"
#include "store/PrintLayout.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
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

    // The songs of the catalogue, read for the first question after a fresh
    // read of the index, against a search of every file for a text that is
    // nowhere; then the duplicates and the figures against the same search.
    Catalogue& catalogue = state.catalogue();
    const auto search = [&] { return millis([&] { catalogue.search(QStringLiteral("zqxv")); }); };
    QList<double> firstRead, duplicates, statistics;
    for (int turn = 0; turn < 9; ++turn) {
        catalogue.reload();
        firstRead.append(millis([&] { catalogue.sameSong(QString(), QStringLiteral("x")); }) /
                         search());
        duplicates.append(millis([&] { catalogue.report(Catalogue::ReportKind::Duplicates); }) /
                          search());
        statistics.append(millis([&] { catalogue.report(Catalogue::ReportKind::Statistics); }) /
                          search());
    }
    report("songs_first_read_ratio", median(firstRead));
    report("duplicates_ratio", median(duplicates));
    report("statistics_ratio", median(statistics));

    // The line of the track window once the songs are read: the answer and
    // its drawing, for songs on many discs and on none, between changes of
    // the catalogue (tracks added to a short disc: this is the last use of
    // the generated catalogue).
    for (int row = 0; row < state.DiscCount; ++row)
        if (state.Discs.at(row).count.toInt() < 20) {
            catalogue.showDisc(row);
            break;
        }
    const QList<catalogue::DiscTracks> every = catalogue.allDiscs();
    frmNewt newt(state, frmNewt::Mode::AddTrack, -1, &window);
    newt.show();
    QList<double> answers;
    for (int turn = 0; turn < 40; ++turn) {
        const catalogue::Track known = every.at(turn * 97 % every.size()).tracks.value(0);
        newt.txtProducer->setText(turn % 2 ? known[1] : QStringLiteral("Nobody"));
        newt.txtTitle->setText(turn % 2 ? known[2] : QStringLiteral("Nothing"));
        answers.append(millis([&] {
            newt.cmdAlso();
            newt.lblAlso->repaint();
        }));
        if (turn % 8 == 0 && state.TrackCount < 25)
            catalogue.addTrack({{QString(), known[1], known[2]}});
    }
    report("also_line_ms", median(answers));

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
