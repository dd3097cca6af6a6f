#include "support/TestProgram.h"

using catalogue::Track;

TEST(RemoveDialog, EachJobByEnterDoubleClickOrButtonAndOnlyWithAChoice)
{
    // Rock is shown; its file holds stray lines after its five counted tracks.
    const QList<Track> rock = makeTracks(5);
    QList<Track> withoutThree = rock, retitled = rock;
    withoutThree.removeAt(2);
    retitled[2][2] = "Three";
    const QByteArray rockFile = catalogue::discBytes(rock) + "stray\r\nlines\r\n";
    const QByteArray index = " 2 \r\nRock\r\n5 tracks\r\nGeneral\r\n2\r\n";
    // A job on line `row` (showing `line`): the files and the third row's
    // title once done.
    struct Job {
        const char* name;
        PictureButton* frmMain::*opener;
        PictureButton* frmRemove::*button;
        int row;
        QString line;
        QByteArray rock, index;
        QString third;
    };
    const QList<Job> jobs = {{"remove track", &frmMain::picRemt, &frmRemove::picRemtrack, 2, "T3",
                              catalogue::discBytes(withoutThree),
                              " 2 \r\nRock\r\n4\r\nGeneral\r\n2\r\n", "T4"},
                             {"remove disc", &frmMain::picRemd, &frmRemove::picRemdisc, 1,
                              "General", rockFile, " 1 \r\nRock\r\n5 tracks\r\n", "T3"},
                             {"edit", &frmMain::picEdit, &frmRemove::picEdit, 2, "T3",
                              catalogue::discBytes(retitled), index, "Three"}};
    enum How { Enter, DoubleClick, Button, Escape, Closed };
    const QList<std::tuple<How, bool, QStringList>> cases = {
        {Enter, true, {"yes"}},  {DoubleClick, true, {"yes"}}, {Button, true, {"yes"}},
        {Enter, false, {"yes"}}, {Button, false, {"yes"}},     {Enter, true, {"no"}},
        {Button, true, {}},      {Escape, true, {"yes"}},      {Closed, true, {"yes"}}};
    for (const Job& job : jobs) {
        const bool asks = job.button != &frmRemove::picEdit;
        const bool removesDisc = job.button == &frmRemove::picRemdisc;
        const bool removesTrack = job.button == &frmRemove::picRemtrack;
        for (const auto& [how, chosen, answers] : cases) {
            SCOPED_TRACE((job.name + QString(": how %1, chosen %2, ").arg(how).arg(chosen) +
                          answers.join(','))
                             .toStdString());
            TestProgram p;
            Settings& settings = p.state().settings();
            settings.setNavi("1");
            settings.setDiscLength("General", "1:20");
            p.putFile("Rock.txt", rockFile);
            p.putDisc("General", makeTracks(2, "G"));
            p.putFile("index.txt", index);
            ASSERT_TRUE(p.start());
            chooseDisc(p.main(), 0);
            p.answer(answers);
            bool open = false;
            inDialog<frmRemove>(p.main().*job.opener, [&](frmRemove& d) {
                EXPECT_EQ(d.lstRemove->item(job.row)->text(), job.line);
                if (chosen)
                    d.lstRemove->setCurrentRow(job.row);
                const QPoint line =
                    d.lstRemove->visualItemRect(d.lstRemove->item(job.row)).center();
                if (how == Enter || how == Escape)
                    keyTo(&d, how == Enter ? Qt::Key_Return : Qt::Key_Escape);
                if (how == Button)
                    click(d.*job.button);
                if (how == DoubleClick) {
                    QTest::mouseClick(d.lstRemove->viewport(), Qt::LeftButton, {}, line);
                    QTest::mouseDClick(d.lstRemove->viewport(), Qt::LeftButton, {}, line);
                }
                open = d.isVisible(); // closed afterwards by the window system
            });
            if (frmNewt* entry = p.main().trackEntry()) { // the chosen track, to edit
                EXPECT_EQ(shown(entry), rock[2]);
                entry->txtTitle->setText("Three");
                click(entry->picSave);
            }
            QStringList said;
            if (!chosen)
                said << "1 You must choose from the list.";
            else if (asks && how < Escape)
                said << "5 Are you really sure?";
            EXPECT_EQ(messagesWithKinds(p), said);
            const bool done = chosen && how < Escape && (!asks || answers == QStringList{"yes"});
            EXPECT_EQ(open, !done && how != Escape);
            EXPECT_EQ(p.bytes("Rock.txt"), done ? job.rock : rockFile);
            EXPECT_EQ(p.bytes("index.txt"), done ? job.index : index);
            EXPECT_EQ(p.main().rows->lblTitle[2]->text(), done ? job.third : "T3");
            EXPECT_EQ(p.main().rows->lblTitle[4]->isVisible(), !(done && removesTrack));
            EXPECT_EQ(p.main().cmbDisc->count(), done && removesDisc ? 1 : 2);
            // A removed disc's file and settings go; the program's own, in the
            // section of its name, stay.
            EXPECT_EQ(p.bytes("General.txt") == "<missing>", done && removesDisc);
            EXPECT_EQ(settings.discLength("General").isEmpty(), done && removesDisc);
            EXPECT_EQ(settings.navi(), "1");
        }
    }
}

TEST(RemoveDisc, AFailedWriteIsToldAndTheListStays)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(1)}, {"Jazz", makeTracks(1)}}));
    const QByteArray index = p.bytes("index.txt");
    p.hooks().writeFaultAfterBytes = 4;
    p.answer({"yes"});
    inDialog<frmRemove>(p.main().picRemd, [&p](frmRemove& d) {
        d.lstRemove->setCurrentRow(1);
        keyTo(&d, Qt::Key_Return);
        EXPECT_TRUE(p.lastMessage().contains("index.txt")) << p.lastMessage().toStdString();
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.lstRemove->currentRow(), 1);
    });
    EXPECT_EQ(p.bytes("index.txt"), index);
    EXPECT_EQ(p.main().cmbDisc->count(), 2);
}

TEST(RemoveDialog, SearchResultLinesHaveTheirFillers)
{
    for (const auto& [k, fillers] :
         std::initializer_list<std::pair<int, int>>{{9, 10}, {10, 8}, {99, 8}, {100, 6}})
        EXPECT_EQ(frmRemove::hitLine(k, "rock", "Mix"),
                  QString::number(k) + QString(fillers, ' ') + "rock" + QString(10, ' ') + "Mix");
}
