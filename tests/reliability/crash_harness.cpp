// Crash consistency: a child process drives the real program through random
// user actions and is killed with SIGKILL at a random moment; the folder it
// leaves is then checked with the program's own readers against a replay of
// the same actions. Every catalogue file must be wholly as it was before the
// action in progress or wholly as that action leaves it, the index must read
// whole and list no disc without its file, and a disc that holds fewer records
// than its count must be recoverable with the program's own question.
//
//   crash_harness [kills] [seed] [early|cli]  the parent: prints the figures;
//                     "early" kills within the start, "cli" kills the command
//                     line's --add-disc on a catalogue of one disc
//   crash_harness --child DIR SEED STEPS [cli]  the child: acts and notes each step
#include "main/CommandLine.h"
#include "main/Screenres.h"
#include "main/Terminal.h"
#include "reliability/CatalogueDriver.h"
#include "store/CatalogueFiles.h"
#include "support/ChooseDisc.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Every catalogue file of a folder: index.txt and the disc files, by name.
using Snapshot = QMap<QString, QByteArray>;

Snapshot snapshot(const QString& programDir)
{
    Snapshot files;
    const QDir data(programDir + QStringLiteral("/Data"));
    for (const QString& name : data.entryList({QStringLiteral("*.txt")}, QDir::Files)) {
        QFile file(data.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            files.insert(name, file.readAll());
    }
    return files;
}

void copyFolder(const QString& from, const QString& to)
{
    QDir(to).removeRecursively();
    QDir().mkpath(to);
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = to + u'/' + QDir(from).relativeFilePath(path);
        if (QFileInfo(path).isDir())
            QDir().mkpath(target);
        else
            QFile::copy(path, target);
    }
}

// A short sound to make discs of: one second of silence as a WAV file.
void writeSound(const QString& path)
{
    const quint32 rate = 8000, bytes = rate * 2;
    QByteArray wav("RIFF");
    const auto le = [&wav](quint32 v, int n) {
        for (int i = 0; i < n; ++i)
            wav.append(char((v >> (8 * i)) & 0xFF));
    };
    le(36 + bytes, 4);
    wav += "WAVEfmt ";
    le(16, 4), le(1, 2), le(1, 2), le(rate, 4), le(rate * 2, 4), le(2, 2), le(16, 2);
    wav += "data";
    le(bytes, 4);
    wav += QByteArray(bytes, '\0');
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(wav);
}

// The command line's --add-disc, again and again, with 1 to 4 of the sounds
// beside the program folder, each command a process of its own would be.
class CommandDriver
{
public:
    CommandDriver(const QString& programDir, quint32 seed) : m_dir(programDir), m_random(seed) {}
    bool start() { return true; }
    void step()
    {
        CommandLine line;
        line.action = CommandLine::AddDisc;
        line.disc = QStringLiteral("Disc %1").arg(m_random.bounded(1000000));
        for (quint32 n = 1 + m_random.bounded(4); n > 0; --n)
            line.files.append(m_dir + QStringLiteral("/../sounds/%1.wav").arg(m_random.bounded(3)));
        m_action = QStringLiteral("--add-disc of %1").arg(line.files.size());
        runCommand({m_dir, m_dir + QStringLiteral("/settings.ini"), 1024}, line);
    }
    QString lastAction() const { return m_action; }
    QString writtenTwice() const { return {}; }

private:
    QString m_dir;
    QRandomGenerator m_random;
    QString m_action;
};

// The catalogue a command line round starts on: one disc of one track.
void seedCatalogue(const QString& programDir)
{
    QDir().mkpath(programDir + QStringLiteral("/Data"));
    for (const auto& [name, bytes] :
         {std::pair{QStringLiteral("index.txt"), catalogue::indexBytes({{"Seed", "1"}})},
          std::pair{
              QStringLiteral("Seed.txt"),
              catalogue::discBytes({{"Label", "Artist", "Title", "1999", "4:05", "LP", ""}})}}) {
        QFile file(programDir + QStringLiteral("/Data/") + name);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }
}

template <typename Driver> int child(const QString& dir, quint32 seed, int steps)
{
    const int journal = ::open(QFile::encodeName(dir + QStringLiteral("/journal")).constData(),
                               O_WRONLY | O_CREAT | O_APPEND, 0644);
    Driver driver(dir, seed);
    if (!driver.start())
        return 3;
    for (int k = 1; k <= steps; ++k) {
        const QByteArray line = "begin " + QByteArray::number(k) + "\n";
        if (::write(journal, line.constData(), size_t(line.size())) != line.size())
            return 4;
        driver.step();
    }
    return 0;
}

int lastBegun(const QString& dir)
{
    QFile file(dir + QStringLiteral("/journal"));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    int k = 0;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (line.startsWith("begin "))
            k = line.mid(6).toInt();
    return k;
}

// The states before and after action k of a run, replayed from its start.
// Action 0 is the start itself, which on a first run makes the folder and
// the empty index.
template <typename Driver>
std::pair<Snapshot, Snapshot> replay(const QString& start, const QString& scratch, quint32 seed,
                                     int k, QString* action, QString* twice)
{
    copyFolder(start, scratch);
    Driver driver(scratch, seed);
    if (k == 0) {
        const Snapshot before = snapshot(scratch);
        driver.start();
        *action = QStringLiteral("start");
        return {before, snapshot(scratch)};
    }
    driver.start();
    // Every action of the run must write each file at most once, or a kill
    // between its writes would leave a state the check cannot judge.
    const auto noteTwice = [&](int i) {
        if (twice->isEmpty() && !driver.writtenTwice().isEmpty())
            *twice = QStringLiteral("%1 twice in action %2 (%3)")
                         .arg(QFileInfo(driver.writtenTwice()).fileName())
                         .arg(i)
                         .arg(driver.lastAction());
    };
    for (int i = 1; i < k; ++i) {
        driver.step();
        noteTwice(i);
    }
    const Snapshot before = snapshot(scratch);
    driver.step();
    *action = driver.lastAction();
    noteTwice(k);
    return {before, snapshot(scratch)};
}

QString check(const QString& dir, const Snapshot& before, const Snapshot& after)
{
    const Snapshot now = snapshot(dir);
    QStringList names = now.keys() + before.keys() + after.keys();
    names.removeDuplicates();
    const auto in = [](const Snapshot& files, const QString& name) {
        return files.contains(name) ? std::optional(files.value(name)) : std::nullopt;
    };
    for (const QString& name : names)
        if (in(now, name) != in(before, name) && in(now, name) != in(after, name))
            return QStringLiteral("%1 is neither as it was nor as it was to become").arg(name);
    // A first run cut short before the index was made: the next start asks
    // the first-run question again.
    if (!now.contains(QStringLiteral("index.txt")))
        return {};
    const catalogue::IndexRead index =
        catalogue::readIndex(dir + QStringLiteral("/Data/index.txt"));
    if (index.status != catalogue::IndexRead::Ok)
        return QStringLiteral("the index does not read: %1").arg(index.problem);
    for (const catalogue::DiscRow& disc : index.discs) {
        const std::optional<int> count = catalogue::countOf(disc.count);
        const catalogue::DiscRead read = catalogue::readDiscFile(
            dir + QStringLiteral("/Data/") + disc.name + ".txt", count.value_or(0));
        if (read.status == catalogue::DiscRead::Missing ||
            read.status == catalogue::DiscRead::Unreadable)
            return QStringLiteral("the listed disc '%1' has no file").arg(disc.name);
    }
    return {};
}

// Every disc that holds fewer records than its count: the program's question,
// answered yes, fixes its count, and it then reads whole.
QString recover(const QString& dir, const QString& scratch)
{
    const catalogue::IndexRead index =
        catalogue::readIndex(dir + QStringLiteral("/Data/index.txt"));
    for (int row = 0; row < index.discs.size(); ++row) {
        const catalogue::DiscRow& disc = index.discs.at(row);
        const QString path = QStringLiteral("/Data/") + disc.name + ".txt";
        const int count = catalogue::countOf(disc.count).value_or(0);
        const catalogue::DiscRead read = catalogue::readDiscFile(dir + path, count);
        if (read.status != catalogue::DiscRead::Short)
            continue;
        copyFolder(dir, scratch);
        TestHooks hooks;
        hooks.answer = [](int kind, const QString&) {
            return kind == 5 ? QStringLiteral("yes") : QString();
        };
        Module1 state({scratch, scratch + QStringLiteral("/settings.ini"), 1024, {}, &hooks});
        frmMain main(state);
        if (!main.Form_Load())
            return QStringLiteral("the program did not start");
        chooseDisc(main, row);
        const catalogue::IndexRead fixed =
            catalogue::readIndex(scratch + QStringLiteral("/Data/index.txt"));
        const int now = catalogue::countOf(fixed.discs.value(row).count).value_or(-1);
        if (now != read.tracks.size() ||
            catalogue::readDiscFile(scratch + path, now).status != catalogue::DiscRead::Whole)
            return QStringLiteral("the disc '%1' was not recovered").arg(disc.name);
    }
    return {};
}

// The next command on what a kill left opens the catalogue and leaves no
// lock file behind.
QString nextCommand(const QString& dir, const QString& scratch)
{
    copyFolder(dir, scratch);
    CommandLine line;
    line.action = CommandLine::ExportCsv;
    line.output = QStringLiteral("/dev/null");
    if (runCommand({scratch, scratch + QStringLiteral("/settings.ini"), 1024}, line) != 0)
        return QStringLiteral("the next command refused the catalogue");
    const QStringList left = QDir(scratch + QStringLiteral("/Data"))
                                 .entryList({QStringLiteral(".platterbook.lock*")},
                                            QDir::Files | QDir::Hidden | QDir::System);
    if (!left.isEmpty())
        return QStringLiteral("the next command left %1 behind").arg(left.join(u' '));
    return {};
}

// Everything needed to look into a failed round: the seeds,
// the kill, the action, the folder as the run began and as the kill left it,
// and every file as it was before the action, after it, and as found. Kept
// beside the test's output (in the folder CTest runs it in).
QString keepReport(quint32 seed, int round, quint32 runSeed, int k, const QString& action,
                   const QString& problem, const QString& start, const QString& dir,
                   const Snapshot& before, const Snapshot& after)
{
    const QString folder = QDir::current().absoluteFilePath(
        QStringLiteral("crash-failures/%1-%2").arg(seed).arg(round));
    copyFolder(start, folder + QStringLiteral("/start"));
    copyFolder(dir, folder + QStringLiteral("/found"));
    QFile file(folder + QStringLiteral("/report.txt"));
    if (!file.open(QIODevice::WriteOnly))
        return folder;
    QTextStream out(&file);
    out << "harness seed " << seed << ", round " << round << ", run seed " << runSeed
        << ", killed in step " << k << " (" << action << ")\n"
        << problem << "\n";
    const Snapshot found = snapshot(dir);
    QStringList names = found.keys() + before.keys() + after.keys();
    names.removeDuplicates();
    const auto show = [](const Snapshot& files, const QString& name) {
        return files.contains(name) ? files.value(name).toPercentEncoding(" ") : "(none)";
    };
    for (const QString& name : names)
        out << name << "\n  before: " << show(before, name) << "\n  after:  " << show(after, name)
            << "\n  found:  " << show(found, name) << "\n";
    return folder;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A private runtime folder for the parent and every child, so that Qt
    // does not warn hundreds of times that the session has none.
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtime.isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    QApplication app(argc, argv);
    setUpApplication();
    const QStringList args = app.arguments();
    const bool commands = args.last() == QLatin1String("cli");
    if (args.size() >= 5 && args.at(1) == QLatin1String("--child"))
        return (commands ? child<CommandDriver> : child<CatalogueDriver>)(args.at(2),
                                                                          args.at(3).toUInt(),
                                                                          args.at(4).toInt());
    const auto replayed = commands ? replay<CommandDriver> : replay<CatalogueDriver>;
    // What the command line prints of the discs it made is of no use here:
    // the harness speaks on standard error.
    if (commands)
        std::freopen("/dev/null", "w", stdout);
    const int kills = args.size() > 1 ? args.at(1).toInt() : 300;
    const quint32 seed = args.size() > 2 && args.at(2) != QLatin1String("0")
                             ? args.at(2).toUInt()
                             : QRandomGenerator::global()->generate();
    const bool early = args.size() > 3 && args.at(3) == QLatin1String("early");
    const bool corrupt = qEnvironmentVariableIsSet("PLATTERBOOK_HARNESS_CORRUPT");
    QRandomGenerator random(seed);
    // On a memory file system where there is one: a kill is not a power cut,
    // so what the harness checks does not depend on the disk, and a run of
    // hundreds of kills stays short.
    const QString base = QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                             ? QStringLiteral("/dev/shm")
                             : QDir::tempPath();
    QTemporaryDir work(base + QStringLiteral("/platterbook-harness-XXXXXX"));
    const QString dir = work.filePath(QStringLiteral("program"));
    const QString start = work.filePath(QStringLiteral("start"));
    const QString scratch = work.filePath(QStringLiteral("scratch"));
    QDir().mkpath(dir);
    QDir().mkpath(work.filePath(QStringLiteral("sounds")));
    for (int n = 0; n < 3; ++n)
        writeSound(work.filePath(QStringLiteral("sounds/%1.wav").arg(n)));
    // A proof that the check can fail needs files to damage from the start,
    // however slow the first child is.
    if (corrupt)
        seedCatalogue(dir);
    int intact = 0;
    int killed = 0;
    int foundBefore = 0;
    int foundAfter = 0;
    int foundBetween = 0;
    for (int round = 0; round < kills; ++round) {
        if (early || commands) { // every round a first run, or the one disc
            QDir(dir).removeRecursively();
            QDir().mkpath(dir);
            if (commands)
                seedCatalogue(dir);
        }
        copyFolder(dir, start);
        QFile::remove(dir + QStringLiteral("/journal"));
        const quint32 runSeed = random.generate();
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(args.at(0), {QStringLiteral("--child"), dir, QString::number(runSeed),
                                   QStringLiteral("100000"), // until killed
                                   commands ? QStringLiteral("cli") : QString()});
        process.waitForStarted();
        QThread::usleep(early ? random.bounded(60000) : 30000 + random.bounded(150000));
        if (process.state() == QProcess::Running) {
            ::kill(pid_t(process.processId()), SIGKILL);
            ++killed;
        }
        process.waitForFinished();
        const int k = lastBegun(dir);
        if (corrupt) {
            // Proof that the check can fail: cut the largest file short.
            const Snapshot files = snapshot(dir);
            QString largest;
            for (auto it = files.begin(); it != files.end(); ++it)
                if (largest.isEmpty() || it.value().size() > files.value(largest).size())
                    largest = it.key();
            if (!largest.isEmpty())
                QFile::resize(dir + QStringLiteral("/Data/") + largest,
                              files.value(largest).size() / 2);
        }
        QString action;
        QString twice;
        Snapshot before, after;
        std::tie(before, after) = replayed(start, scratch, runSeed, k, &action, &twice);
        if (before != after) {
            const Snapshot now = snapshot(dir);
            if (now == before)
                ++foundBefore;
            else if (now == after)
                ++foundAfter;
            else
                ++foundBetween;
        }
        QString problem = twice.isEmpty() ? check(dir, before, after)
                                          : QStringLiteral("the run wrote %1").arg(twice);
        if (problem.isEmpty())
            problem = recover(dir, scratch);
        if (problem.isEmpty() && commands)
            problem = nextCommand(dir, scratch);
        if (problem.isEmpty()) {
            ++intact;
        } else {
            const QString kept =
                keepReport(seed, round, runSeed, k, action, problem, start, dir, before, after);
            std::fprintf(stderr, "round %d (seed %u, step %d, %s): %s\n  everything about it: %s\n",
                         round, runSeed, k, qPrintable(action), qPrintable(problem),
                         qPrintable(kept));
        }
        QFile::remove(dir + QStringLiteral("/journal"));
    }
    std::fprintf(stderr, "kills: %d, catalogues intact: %d\n", killed, intact);
    std::fprintf(stderr,
                 "seed %u; the action under way was found not begun %d times, done %d times, "
                 "part way %d times\n",
                 seed, foundBefore, foundAfter, foundBetween);
    return intact == kills ? 0 : 1;
}
