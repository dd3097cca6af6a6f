// The catalogue search as a whole process: the index read, every disc's file
// searched for the text without regard to letter case, as the program does;
// prints the number of hits. Measured against grep over the same folder.
//
//   bench_search DATA_DIR TEXT
#include "store/Search.h"
#include "store/CatalogueFiles.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 2;
    const QString data = QString::fromLocal8Bit(argv[1]) + u'/';
    const catalogue::IndexRead index = catalogue::readIndex(data + QStringLiteral("index.txt"));
    const search::Needle needle(QString::fromLocal8Bit(argv[2]));
    qint64 hits = 0;
    for (const catalogue::DiscRow& disc : index.discs) {
        if (const auto bytes = catalogue::readFileBytes(data + disc.name + QStringLiteral(".txt")))
            hits += needle.positionsIn(*bytes).size();
    }
    std::printf("%lld\n", static_cast<long long>(hits));
    return 0;
}
