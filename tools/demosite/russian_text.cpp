#include "tools/demosite/russian_text.h"

#include <QStringList>

namespace russian {
namespace {

QList<ByteText> encode(const QStringList& phrases) {
    QList<ByteText> out;
    out.reserve(phrases.size());
    for (const QString& phrase : phrases)
        out.append(cp1251::fromUnicode(phrase));
    return out;
}

// Subjects, not rubric names, so a headline never names another rubric than
// the one it stands in.
const QList<ByteText>& topics() {
    static const QList<ByteText> list = encode({
        "Бюджет",
        "Транспорт",
        "Выборы",
        "Погода",
        "Медицина",
        "Образование",
        "Энергетика",
        "Жильё",
        "Налоги",
        "Наука",
        "Экология",
        "Туризм",
        "Промышленность",
        "Связь",
        "Сельское хозяйство",
    });
    return list;
}

const QList<ByteText>& headlinePhrases() {
    static const QList<ByteText> list = encode({
        "новые правила для регионов",
        "что изменится с первого числа",
        "итоги недели",
        "депутаты готовят поправки",
        "цены снова растут",
        "город ждёт перемен",
        "эксперты спорят о последствиях",
        "министерство отчиталось о работе",
        "жители требуют ответа",
        "проект отложен до весны",
        "рекорд прошлого года побит",
        "в столице открылся новый центр",
        "решение принято единогласно",
        "зима пришла раньше срока",
        "власти обещают навести порядок",
        "сборная готовится к чемпионату",
        "учёные сделали важное открытие",
        "пенсии проиндексируют в срок",
        "банки меняют условия вкладов",
        "строительство моста завершено",
        "тарифы пересмотрят осенью",
        "театральный сезон открыт",
        "очереди стали короче",
        "компании ищут специалистов",
    });
    return list;
}

const QList<ByteText>& openers() {
    static const QList<ByteText> list = encode({
        "По словам экспертов,",
        "Как сообщили в пресс-службе,",
        "На прошлой неделе",
        "Вчера вечером",
        "По данным статистики,",
        "Как стало известно нашему корреспонденту,",
        "В ближайшие дни",
        "Тем временем",
        "Между тем",
        "Накануне",
        "По мнению аналитиков,",
        "Как отмечают специалисты,",
        "В администрации города подтвердили, что",
    });
    return list;
}

const QList<ByteText>& clauses() {
    static const QList<ByteText> list = encode({
        "ситуация остаётся под контролем",
        "работы будут завершены до конца года",
        "число обращений выросло почти вдвое",
        "новые правила вступят в силу весной",
        "жители района довольны переменами",
        "на эти цели выделено несколько миллионов рублей",
        "окончательное решение примут на следующем заседании",
        "спрос на услуги продолжает расти",
        "в обсуждении приняли участие сотни человек",
        "прогноз на будущий месяц остаётся осторожным",
        "проект поддержали в правительстве",
        "первые результаты появятся уже летом",
        "подобные меры уже применяются в других городах",
        "часть средств направят на ремонт дорог",
        "специалисты не видят поводов для тревоги",
        "участники встречи договорились продолжить переговоры",
        "выставка продлится до конца месяца",
        "билеты можно купить в кассах театра",
        "команда провела лучший матч сезона",
        "новая линия метро откроется в срок",
        "цены на продукты за месяц почти не изменились",
        "в школах района появились новые компьютерные классы",
    });
    return list;
}

// Names by gender, so a first name always meets a surname of its form.
const QList<ByteText>& maleNames() {
    static const QList<ByteText> list = encode({
        "Алексей",
        "Сергей",
        "Дмитрий",
        "Игорь",
        "Андрей",
        "Павел",
        "Виктор",
        "Михаил",
    });
    return list;
}

const QList<ByteText>& femaleNames() {
    static const QList<ByteText> list = encode({
        "Мария",
        "Ольга",
        "Елена",
        "Наталья",
        "Татьяна",
        "Ирина",
        "Анна",
        "Светлана",
    });
    return list;
}

const QList<ByteText>& surnames() {
    static const QList<ByteText> list = encode({
        "Иванов",
        "Смирнов",
        "Кузнецов",
        "Соколов",
        "Попов",
        "Лебедев",
        "Козлов",
        "Новиков",
        "Морозов",
        "Волков",
        "Алексеев",
        "Зайцев",
        "Павлов",
        "Орлов",
    });
    return list;
}

const QList<ByteText>& techTopics() {
    static const QList<ByteText> list = encode({
        "Процессоры",
        "Видеокарты",
        "Ноутбуки",
        "Мониторы",
        "Принтеры",
        "Цифровые камеры",
        "Сети",
        "Операционные системы",
        "Базы данных",
        "Антивирусы",
        "Жёсткие диски",
        "Карманные компьютеры",
        "Мобильные телефоны",
        "Игры",
        "Программирование",
    });
    return list;
}

const QList<ByteText>& techPhrases() {
    static const QList<ByteText> list = encode({
        "большой сравнительный тест",
        "что выбрать этой зимой",
        "восемь моделей под лупой",
        "быстрее, тише, дешевле",
        "новое поколение",
        "опыт эксплуатации",
        "практическое руководство",
        "взгляд изнутри",
        "мифы и реальность",
        "обзор рынка",
        "первое знакомство",
        "секреты настройки",
        "итоги года",
    });
    return list;
}

} // namespace

ByteText headline(Rng& rng) {
    ByteText line = rng.pick(topics()) + ": " + rng.pick(headlinePhrases());
    return line;
}

ByteText magazineHeadline(Rng& rng) {
    return rng.pick(techTopics()) + ": " + rng.pick(techPhrases());
}

ByteText sentence(Rng& rng) {
    ByteText text =
        rng.chance(60) ? rng.pick(openers()) + " " + rng.pick(clauses()) : rng.pick(clauses());
    if (rng.chance(35))
        text += ", " + W("а") + " " + rng.pick(clauses());
    // Capitalise the first letter: Windows-1251 keeps lower-case Cyrillic at
    // 0xE0..0xFF and the capitals 32 below.
    uint8_t first = uint8_t(text[0]);
    if (first >= 0xE0)
        text[0] = char(first - 32);
    return text + ".";
}

ByteText annotation(Rng& rng) {
    ByteText text = sentence(rng);
    return text;
}

ByteText paragraph(Rng& rng, int sentences) {
    ByteText text;
    for (int i = 0; i < sentences; ++i) {
        if (i > 0)
            text += ' ';
        text += sentence(rng);
    }
    return text;
}

ByteText searchSample(bool magazine, int issue, int article) {
    static const char* const newest[] = {
        "На фестивале в парке выступили оркестры со всей области.",
        "Организаторы фестиваля обещают, что на Северный мост вернут новогоднюю ёлку.",
        "Мост у северной окраины закрыт на ремонт до весны.",
    };
    if (magazine)
        return issue == 0 && article == 0
                   ? W("О фестивалях компьютерной музыки рассказывает наш обзор.")
                   : ByteText();
    if (issue == 1 && article == 0)
        return W("Билеты на фестиваль раскупили за один день.");
    return issue == 0 && article >= 0 && article < 3 ? W(newest[article]) : ByteText();
}

ByteText personName(Rng& rng) {
    if (rng.chance(50))
        return rng.pick(maleNames()) + " " + rng.pick(surnames());
    return rng.pick(femaleNames()) + " " + rng.pick(surnames()) + W("а");
}

ByteText caption(Rng& rng) {
    ByteText text = W("Фото: ") + personName(rng);
    return text;
}

const QList<Rubric>& newspaperRubrics() {
    static const QList<Rubric> list = {
        {W("Политика"), "politics"}, {W("Экономика"), "economics"}, {W("Общество"), "society"},
        {W("Город"), "city"},        {W("Культура"), "culture"},    {W("Спорт"), "sport"},
    };
    return list;
}

const QList<Rubric>& magazineRubrics() {
    static const QList<Rubric> list = {
        {W("Тема номера"), "theme"}, {W("Новости"), "news"},  {W("Железо"), "hard"},
        {W("Софт"), "soft"},         {W("Интернет"), "inet"}, {W("Практикум"), "practice"},
    };
    return list;
}

ByteText monthNominative(int month) {
    static const QList<ByteText> names =
        encode({"Январь", "Февраль", "Март", "Апрель", "Май", "Июнь", "Июль", "Август", "Сентябрь",
                "Октябрь", "Ноябрь", "Декабрь"});
    return names.value(month - 1);
}

ByteText monthGenitive(int month) {
    static const QList<ByteText> names =
        encode({"января", "февраля", "марта", "апреля", "мая", "июня", "июля", "августа",
                "сентября", "октября", "ноября", "декабря"});
    return names.value(month - 1);
}

ByteText printedDate(const QDate& date) {
    return ByteText::number(date.day()) + " " + monthGenitive(date.month()) + " " +
           ByteText::number(date.year());
}

} // namespace russian
