#include "engine/clubs.h"

namespace kalvado {

const QStringList &TopClubs() {
    static const QStringList names{u"Арсенал"_qs, u"Аякс"_qs,     u"Байерн М"_qs, u"Барселона"_qs,
                                   u"Интер"_qs,   u"Ливърпул"_qs, u"Ман Юн"_qs,   u"Милан"_qs,
                                   u"Реал М"_qs,  u"Ювентус"_qs};
    return names;
}

const QStringList &StrongClubs() {
    static const QStringList names{u"Атл Билбао"_qs,    u"Атл Мадрид"_qs, u"Валенсия"_qs,   u"Дортмунд"_qs,
                                   u"Ла Коруня"_qs,     u"Лацио"_qs,      u"Леверкузен"_qs, u"Марсилия"_qs,
                                   u"Монако"_qs,        u"Нюкясъл"_qs,    u"Пари СЖ"_qs,    u"Парма"_qs,
                                   u"ПСВ Айндховен"_qs, u"Рейнджърс"_qs,  u"Рома"_qs,       u"Удинезе"_qs,
                                   u"Фейенорд"_qs,      u"Челси"_qs,      u"Шалке 04"_qs,   u"Щутгарт"_qs};
    return names;
}

const QList<ClubColour> &ClubColours() {
    constexpr std::uint32_t white = 0xFFFFFF, black = 0x000000, red = 0xFF0000, blue = 0x0000FF,
                            cyan = 0x00FFFF, yellow = 0xFFFF00, green = 0x00FF00;
    static const QList<ClubColour> table{
        {u"Ювентус"_qs, white, black},    {u"Удинезе"_qs, white, black}, {u"Ман Юн"_qs, red, white},
        {u"Арсенал"_qs, red, white},      {u"Чарлтън"_qs, red, white},   {u"Мидълзбро"_qs, red, white},
        {u"Ливърпул"_qs, red, white},     {u"Рома"_qs, red, white},      {u"Барселона"_qs, red, blue},
        {u"Кристъл П"_qs, red, blue},     {u"Байерн М"_qs, red, blue},   {u"Пари СЖ"_qs, red, blue},
        {u"Челси"_qs, blue, white},       {u"Лестър"_qs, blue, white},   {u"Шалке 04"_qs, blue, white},
        {u"Евертън"_qs, blue, white},     {u"Интер"_qs, blue, black},    {u"Ла Коруня"_qs, blue, black},
        {u"Аякс"_qs, white, red},         {u"Валенсия"_qs, white, red},  {u"Атл Мадрид"_qs, white, red},
        {u"Реал М"_qs, white, blue},      {u"Лийдс"_qs, white, blue},    {u"Лацио"_qs, cyan, white},
        {u"1860 Мюнхен"_qs, cyan, white}, {u"Милан"_qs, red, black},     {u"Леверкузен"_qs, red, black},
        {u"Дортмунд"_qs, yellow, black},  {u"Селтик"_qs, green, white},  {u"Бетис"_qs, green, white},
    };
    return table;
}

std::optional<ClubColour> FindClubColour(const QString &name) {
    for (const ClubColour &c : ClubColours())
        if (c.name == name) return c;
    return std::nullopt;
}

} // namespace kalvado
