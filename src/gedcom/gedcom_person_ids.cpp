#include "gedcom_person_ids.h"

#include <QRandomGenerator>
#include <array>

namespace verdan {

namespace {

// A seeded generator: asking the system's source for every identifier would slow large imports down.
class IdMaker {
public:
    IdMaker() {
        std::array<quint32, 8> seed;
        QRandomGenerator::system()->fillRange(seed.data(), qsizetype(seed.size()));
        Random = QRandomGenerator(seed.data(), qsizetype(seed.size()));
    }

    // With a counter, the first eight digits count up from a random start.
    QString Next(bool counting = false) {
        std::array<quint32, 4> w;
        Random.fillRange(w.data(), qsizetype(w.size()));
        if (counting) {
            if (Counter == 0)
                Counter = 1 + (Random.generate() >> 2);
            w[0] = Counter++;
        }
        w[1] = (w[1] & 0xFFFF0FFFu) | 0x00004000u; // version 4
        w[2] = (w[2] & 0x3FFFFFFFu) | 0x80000000u; // variant 1
        static constexpr char16_t kHex[] = u"0123456789ABCDEF";
        char16_t text[38];
        int pos = 0;
        text[pos++] = u'{';
        for (int i = 0; i < 32; ++i) {
            if (i == 8 || i == 12 || i == 16 || i == 20)
                text[pos++] = u'-';
            text[pos++] = kHex[(w[i / 8] >> (28 - 4 * (i % 8))) & 0xF];
        }
        text[pos++] = u'}';
        return QString(reinterpret_cast<const QChar*>(text), pos);
    }

private:
    QRandomGenerator Random;
    quint32 Counter = 0;
};

} // namespace

QString NewImportedPersonId() {
    static IdMaker maker;
    return maker.Next();
}

QString NewImportedEventId() {
    static IdMaker maker;
    return maker.Next(true);
}

} // namespace verdan
