#include "support/TestProgram.h"

#include <QRegularExpression>
#include <QtTest/qtestspontaneevent.h>

#include <algorithm>

using catalogue::Track;

TestProgram::TestProgram(int screenWidth) : m_path(m_dir.path())
{
    m_state = std::make_unique<Module1>(
        Environment{m_path, m_path + QStringLiteral("/settings.ini"), screenWidth, {}, &m_hooks});
}

TestProgram::TestProgram(const TestProgram& sameFolder) : m_path(sameFolder.programDir())
{
    Environment environment = sameFolder.m_state->environment();
    environment.hooks = &m_hooks;
    m_state = std::make_unique<Module1>(environment);
}

void TestProgram::putFile(const QString& name, const QByteArray& bytes)
{
    QDir(m_path).mkpath(QStringLiteral("Data"));
    QFile file(dataPath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(file.fileName()));
    file.write(bytes);
}

QByteArray TestProgram::bytes(const QString& name) const
{
    QFile file(dataPath(name));
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll();
}

void TestProgram::answer(const QStringList& answers)
{
    m_answers = answers;
    m_hooks.answer = [this](int, const QString&) {
        return m_answers.isEmpty() ? QString() : m_answers.takeFirst(); // none: dismissed
    };
}

// A message with its paths written as on Linux: a Windows path runs from its
// drive letter to the quote that closes it.
static QString linuxPaths(QString text)
{
    static const QRegularExpression path(QStringLiteral("[A-Za-z]:\\\\[^']*"));
    for (auto it = path.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        text.replace(m.capturedStart(), m.capturedLength(),
                     QDir::fromNativeSeparators(m.captured()));
    }
    return text;
}

QStringList TestProgram::messageTexts() const
{
    QStringList texts;
    for (const ShownMessage& m : m_hooks.messagesShown)
        texts << linuxPaths(m.text);
    return texts;
}

int TestProgram::lastKind() const
{
    return m_hooks.messagesShown.isEmpty() ? 0 : m_hooks.messagesShown.last().kind;
}

bool TestProgram::start()
{
    if (!m_hooks.answer)
        answer({});
    m_main = std::make_unique<frmMain>(*m_state);
    QObject::connect(m_main.get(), &frmMain::programEnded, [this] { m_ended = true; });
    const bool ok = m_main->Form_Load();
    if (ok)
        m_main->show();
    return ok && !m_ended;
}

bool TestProgram::startWith(const QList<std::pair<QString, QList<Track>>>& discs)
{
    QList<catalogue::DiscRow> rows;
    for (const auto& [name, tracks] : discs) {
        rows.append({name, QString::number(tracks.size())});
        putDisc(name, tracks);
    }
    putIndex(rows);
    return start();
}

Track makeTrack(const QString& title, const QString& length, const QString& comment)
{
    return {title + " label", title + " artist", title, "1999", length, "CD", comment};
}

QStringList messagesWithKinds(TestProgram& program)
{
    QStringList shown;
    for (const ShownMessage& m : program.hooks().messagesShown)
        shown << QString::number(m.kind) + u' ' + linuxPaths(m.text);
    return shown;
}

QString mainView(TestProgram& program)
{
    const frmMain& w = program.main();
    const auto rows = std::count_if(w.rows->txtComments.begin(), w.rows->txtComments.end(),
                                    [](const QLineEdit* box) { return box->isVisible(); });
    const bool readOnly =
        w.rows->txtComments[0]->isVisible() && w.rows->txtComments[0]->isReadOnly();
    return QStringLiteral("%1 | chooser %2 | disc %3 | %4 tracks, %5 rows%6")
        .arg(w.lblDisc->text())
        .arg(w.cmbDisc->currentIndex())
        .arg(program.state().CurrentDisc)
        .arg(program.state().TrackCount)
        .arg(rows)
        .arg(readOnly
                 ? ", read-only: " + w.rows->txtComments[0]->toolTip().remove("<p>").remove("</p>")
                 : QString());
}

void dragBy(QWidget* on, QPoint from, QPoint by)
{
    QTest::mousePress(on, Qt::LeftButton, {}, from);
    QTest::mouseMove(on, from + by);
    QTest::mouseRelease(on, Qt::LeftButton, {}, from + by);
}

void click(PictureButton* button, QPoint at)
{
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mouseRelease(button, Qt::LeftButton, {}, at);
}

ModalWait::ModalWait(std::function<void(QWidget*)> action)
    : m_before(QApplication::activeModalWidget()), m_action(std::move(action))
{
    m_timer.setInterval(5);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == m_before)
            return;
        m_timer.stop();
        m_done = true;
        m_action(modal);
    });
    m_timer.start();
}

ModalWait::~ModalWait()
{
    m_timer.stop();
    if (!m_done)
        ADD_FAILURE() << "the window that was waited for never opened";
}

void closeByWindowSystem(QWidget* window)
{
    // To the native window, the way Qt delivers the window system's close;
    // sendEvent() would make it the program's own.
    QCloseEvent event;
    QSpontaneKeyEvent::setSpontaneous(&event);
    qApp->notify(window->windowHandle(), &event);
    QCoreApplication::processEvents();
}

void giveFocus(QWidget* widget)
{
    // Activation settles asynchronously when other windows have just closed,
    // so the focus is given again until it stays.
    QWidget* window = widget->window();
    if (!window->isVisible())
        window->show();
    (void)QTest::qWaitForWindowExposed(window);
    for (int attempt = 0; attempt < 5; ++attempt) {
        window->activateWindow();
        QApplication::setActiveWindow(window);
        widget->setFocus(Qt::OtherFocusReason);
        QTest::qWait(5);
        if (QApplication::focusWidget() == widget)
            return;
    }
    qWarning("giveFocus: the focus did not stay on %s", widget->metaObject()->className());
}

void keyTo(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QWidget* focus = QApplication::focusWidget();
    QWidget* target = focus && focus->window() == window ? focus : window;
    QTest::keyClick(target, key, modifiers);
}

QList<Track> makeTracks(int n, const QString& prefix, const QString& length)
{
    QList<Track> list;
    for (int i = 0; i < n; ++i)
        list.append(makeTrack(prefix + QString::number(i + 1), length));
    return list;
}

MailProgram::MailProgram() : m_path(qgetenv("PATH"))
{
    // The desktop's answer to "which program takes mail addresses?".
    QFile query(m_bin.filePath("xdg-mime"));
    query.open(QIODevice::WriteOnly);
    query.write("#!/bin/sh\necho mail.desktop\n");
    query.setPermissions(query.permissions() | QFileDevice::ExeOwner);
    query.close();
    qputenv("PATH", QFile::encodeName(m_bin.path()) + ':' + m_path);
    QDesktopServices::setUrlHandler("mailto", this, "open");
}

MailProgram::~MailProgram()
{
    QDesktopServices::unsetUrlHandler("mailto");
    qputenv("PATH", m_path);
}
