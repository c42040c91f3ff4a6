#!/usr/bin/env python3
# -----------------------------------------------------------------------------
# make_demo_city.py - demo content of the dispatch database.
#
# Writes an SQL script of INSERT statements (UTF-8, one statement per line)
# that fills a freshly created database (db/schema.sql) with a small but
# working city, "Ясногород", a river town of six districts: Центр, Підгірці,
# Вокзальний, Північний (north of the river), Заріччя and Садки (beyond it):
#
#   streets (VULICA_LUCK) with their districts; map points (KARTA_MISTA) on a
#   4000 x 3000 pixel map: stands ('СТОЯНКА'), houses ('БУДИНОК', labelled
#   exactly [street]{house}), objects (hospital, school, ...) and street
#   crossings ('ПЕРЕХРЕСТЯ', no label); dispatchers (PRACIVNIK), the company
#   row (DANI_FIRMI), tariffs (TARIFI) and a complete TARIF.INI (SET_TARIFI);
#   drivers (VODII) and their cars (DANI_AVTO); clients (KLIENT); archived
#   orders (CLOSEZAMOVLENNIA) of the previous days and of the current working
#   day; drivers on air at stands (ZADIANI_AVTO, half of them GPRS); open
#   orders (ZAMOVLENNIA: hot, upcoming, one preliminary and the orders of the
#   engaged drivers); the GPRS refresh rows, GPRS actions, messages to drivers
#   and between dispatchers, and the driver black list.
#
# Map geometry. Streets are straight lines on the pixel grid: horizontal,
# vertical and 45-degree avenues, so every point of one street lies exactly on
# its line and every crossing has whole-number coordinates. The river runs
# west-east at y = 1960..2090; only the bridge streets cross it. Intended scale:
# 2 metres per pixel (SETTING_KART.INI: LENGTH=100, LENGTH_TOCHKA=50), the town
# is 8 x 6 km. Crossings and objects carry their street numbers in
# KOORD_KART_MISTA_PUKT_1..5; stands carry the one or two streets they lie on;
# houses carry none (their street is in the label), as houses put on the map
# by the map window do. The street graph is connected (checked). One-way
# passages (TARIF.INI, ODNOSTORONNI_VULICI): two in the centre, and with
# --one-way-share that share of all passages between crossing streets; a
# passage is closed only while every street still reaches every other one, so
# the route measurement finds a way between any two points of the map.
#
# Time. Nothing depends on the day the script was written: dates and times are
# Firebird expressions relative to the moment the database is loaded
# (CURRENT_DATE, CURRENT_TIMESTAMP(0), DATEADD), or to a fixed moment given with
# --now. Orders of the current working day lie between the last roll call
# (DANI_FIRMI, 07:00 by default) and now.
# Order numbers come from GEN_ID(GENIDZAMOVL, 1); the archive is inserted
# first, so open orders have the highest numbers.
#
# Dispatchers (log-in name / password / rights):
#   Ковальчук Олена Петрівна   / 1 / all six rights (administrator)
#   Мельник Мар'яна Іванівна   / 2 / taking orders, handing out, map, executed
#                                    and deleted orders table
#   Гнатюк В'ячеслав Олегович  / 3 / taking orders, handing out (no map: the
#                                    nearest stand comes from the district lists)
#   Бондар Дмитро Сергійович   / 4 / no rights (left the firm; not offered)
# Softphone operators in TARIF.INI: 127.0.0.1:5060, extensions 101-103,
# passwords demo101-demo103. The web distance service: the stand-in on
# 127.0.0.1:18095.
#
# Regenerate the committed demo (defaults):
#   python3 tools/democity/make_demo_city.py -o db/demo.sql
# Benchmark city (200 stands, 5,000 map points, 500 drivers on air, half of
# them GPRS, 1,000 open orders, 20,000 orders in the working day):
#   python3 tools/democity/make_demo_city.py --stands 200 --points 5000 \
#       --drivers 700 --on-air 500 --open-orders 1000 --period-orders 20000 \
#       --clients 2000 -o /tmp/bench_city.sql
# (the street route benchmark adds --one-way-share 0.05)
# Load:  taxidb create demo.fdb db/schema.sql db/demo.sql
#
# Standard library only; the output is deterministic for a given set of
# options. Every text is checked to be representable in code page 1251.
# -----------------------------------------------------------------------------

import argparse
import math
import random
import re
import sys

CITY = "Ясногород"
# Where the demo's stand-in web distance service listens (the taxi script starts it).
WEB_DISTANCE_PORT = 18095
MAP_W, MAP_H = 4000, 3000
METRES_PER_PIXEL = 2.0
RIVER_TOP, RIVER_BOTTOM = 1960, 2090
NORTH_BANK, SOUTH_BANK = 1930, 2120

DISTRICTS = ["Центр", "Підгірці", "Вокзальний", "Північний", "Заріччя", "Садки"]


def in_river(x, y):
    """Nobody lives or waits on a bridge."""
    return RIVER_TOP - 12 <= y <= RIVER_BOTTOM + 12


def district_at(x, y):
    if y > (RIVER_TOP + RIVER_BOTTOM) // 2:
        return "Заріччя" if x < 2300 else "Садки"
    if x < 1300:
        return "Підгірці"
    if x > 2750:
        return "Вокзальний"
    if y < 800:
        return "Північний"
    return "Центр"


# ----------------------------------------------------------------------------- names

STREET_PREFIXES = ("вул. ", "просп. ", "бульв. ", "пров. ", "пл. ", "узвіз ")

# Names that suit a district are used there first.
DISTRICT_STREETS = {
    "Центр": ["вул. Соборна", "вул. Ринкова", "вул. Театральна", "вул. Поштова",
              "вул. Торгова", "вул. Ремісницька", "вул. Ратушна"],
    "Підгірці": ["вул. Підгірна", "вул. Гірська", "вул. Замкова", "вул. Лісова",
                 "вул. Соснова", "вул. Дубова", "узвіз Кам'яний"],
    "Вокзальний": ["вул. Вокзальна", "вул. Залізнична", "вул. Перонна",
                   "вул. Цукрова", "вул. Заводська", "вул. Депівська"],
    "Північний": ["вул. Університетська", "вул. Спортивна", "вул. Лікарняна",
                  "вул. Паркова", "вул. Кленова", "вул. Студентська"],
    "Заріччя": ["вул. Садова", "вул. Лугова", "вул. Ставкова", "вул. Рибальська",
                "вул. Вербова", "вул. Очеретяна"],
    "Садки": ["вул. Вишнева", "вул. Яблунева", "вул. Степова", "вул. Польова",
              "вул. Кринична", "вул. Джерельна"],
}
BRIDGE_STREETS = ["вул. Мостова", "просп. Волі", "вул. Київська", "вул. Луцька",
                  "просп. Перемоги", "вул. Ковельська", "вул. Рівненська",
                  "вул. Львівська", "вул. Волинська", "вул. Дубенська"]
AVENUES = ["просп. Незалежності", "вул. Об'їзна", "бульв. Лесі Українки",
           "вул. Гетьмана Мазепи", "бульв. Свободи", "вул. В'їзна"]
# Apostrophes first: the demo always has them.
GENERAL_STREETS = ["вул. Лук'янівська", "вул. Квітки-Основ'яненка", "вул. Шевченка",
                   "вул. Івана Франка", "вул. Грушевського", "вул. Коцюбинського",
                   "вул. Василя Стуса", "вул. Сковороди", "вул. Котляревського",
                   "вул. Драгоманова", "вул. Богдана Хмельницького", "вул. Сагайдачного",
                   "вул. Винниченка", "вул. Чорновола", "вул. Симоненка", "вул. Рильського",
                   "вул. Тичини", "вул. Довженка", "вул. Заньковецької", "вул. Кропивницького",
                   "вул. Миколи Лисенка", "вул. Вернадського", "вул. Ольги Кобилянської",
                   "вул. Стефаника", "вул. Федьковича", "вул. Марка Вовчка",
                   "вул. Олени Пчілки", "вул. Глібова", "вул. Руданського",
                   "вул. Нечуя-Левицького", "вул. Панаса Мирного", "вул. Остапа Вишні",
                   "вул. Олеся Гончара", "вул. Пантелеймона Куліша", "вул. Костомарова",
                   "вул. Липинського", "вул. Антоновича", "вул. Крип'якевича",
                   "вул. Данила Галицького", "вул. Ярослава Мудрого",
                   "вул. Володимира Великого", "вул. Князя Романа",
                   "вул. Михайла Вербицького", "вул. Соломії Крушельницької",
                   "вул. Богдана Лепкого", "вул. Уласа Самчука", "вул. Січових Стрільців",
                   "вул. Героїв Крут", "вул. Героїв Майдану", "вул. Івана Ґонти",
                   "вул. Зелена", "вул. Тиха", "вул. Сонячна", "вул. Весняна",
                   "вул. Квіткова", "вул. Шкільна", "вул. Миру", "вул. Гончарна",
                   "вул. Ковальська", "вул. Ткацька", "вул. Млинова", "вул. Липова",
                   "вул. Каштанова", "вул. Березова", "вул. Кооперативна",
                   "вул. Ювілейна", "вул. Затишна", "вул. Молодіжна", "вул. Чумацька",
                   "вул. Козацька", "вул. Гетьманська", "вул. Пирогова",
                   "вул. Євгена Коновальця", "вул. Їжакевича", "вул. Архипенка",
                   "вул. Мурашка", "вул. Катерини Білокур", "вул. Марії Приймаченко",
                   "вул. Вокзальний узвіз", "пров. Тихий", "пров. Садовий", "пров. Тінистий",
                   "пров. Шкільний", "пров. Лісовий", "пров. Ставковий", "пров. Зелений",
                   "пров. Вишневий", "пров. Кленовий", "пров. Березовий", "пров. Липовий",
                   "пров. Джерельний", "пров. Гончарний", "пров. Ковальський",
                   "пров. Млиновий", "пров. Польовий", "пров. Степовий", "пров. Гірський",
                   "пров. Зарічний", "пров. Лучний", "пров. Мирний", "пров. Весняний",
                   "пров. Сонячний", "пров. Квітковий", "пров. Затишний"]

STAND_NAMES = {
    "Центр": ["Ринок", "Центральна площа", "Ратуша", "Театр", "Парк Шевченка",
              "Головпошта", "Універмаг", "Собор"],
    "Вокзальний": ["Вокзал", "Автостанція", "Цукровий завод", "Депо", "Привокзальна площа"],
    "Підгірці": ["Підгірці", "Лук'янівка", "Лікарня", "Замкова гора", "Ліцей"],
    "Північний": ["Університет", "Стадіон", "ТЦ Ясен", "Поліклініка", "Північна кінцева"],
    "Заріччя": ["Міст", "Заріччя", "Пляж", "Річковий порт"],
    "Садки": ["Садки", "Аеродром", "Елеватор", "Ставки"],
}

OBJECT_KINDS = [
    ("ЛІКАРНЯ", ["Міська лікарня", "Дитяча лікарня", "Пологовий будинок",
                 "Поліклініка №{n}", "Стоматологія №{n}", "Травмпункт №{n}"]),
    ("ШКОЛА", ["Школа №{n}", "Ліцей №{n}", "Дитсадок №{n}"]),
    ("АПТЕКА", ["Аптека №{n}"]),
    ("МАГАЗИН", ["Супермаркет Колосок №{n}", "Будмаркет №{n}", "Магазин Продукти №{n}"]),
    ("КАФЕ", ["Кафе Затишок", "Піцерія Лук'ян", "Ресторан Над річкою", "Кав'ярня Ранок",
              "Кафе №{n}"]),
    ("УСТАНОВА", ["Міська рада", "Центр адмінпослуг", "Податкова", "Пенсійний фонд",
                  "Поштове відділення №{n}", "Банк №{n}"]),
    ("ГОТЕЛЬ", ["Готель Ясногород", "Хостел Міст", "Готель №{n}"]),
]

MALE_NAMES = [  # name, patronymic (m), patronymic (f)
    ("Іван", "Іванович", "Іванівна"), ("Петро", "Петрович", "Петрівна"),
    ("Микола", "Миколайович", "Миколаївна"), ("Василь", "Васильович", "Василівна"),
    ("Олег", "Олегович", "Олегівна"), ("Сергій", "Сергійович", "Сергіївна"),
    ("Андрій", "Андрійович", "Андріївна"), ("Володимир", "Володимирович", "Володимирівна"),
    ("Михайло", "Михайлович", "Михайлівна"), ("Олександр", "Олександрович", "Олександрівна"),
    ("Юрій", "Юрійович", "Юріївна"), ("Степан", "Степанович", "Степанівна"),
    ("Богдан", "Богданович", "Богданівна"), ("Ярослав", "Ярославович", "Ярославівна"),
    ("Віктор", "Вікторович", "Вікторівна"), ("Григорій", "Григорович", "Григорівна"),
    ("Дмитро", "Дмитрович", "Дмитрівна"), ("Роман", "Романович", "Романівна"),
    ("Тарас", "Тарасович", "Тарасівна"), ("Мар'ян", "Мар'янович", "Мар'янівна"),
    ("Лук'ян", "Лук'янович", "Лук'янівна"), ("Ігор", "Ігорович", "Ігорівна"),
    ("Євген", "Євгенович", "Євгенівна"), ("Анатолій", "Анатолійович", "Анатоліївна"),
    ("В'ячеслав", "В'ячеславович", "В'ячеславівна"), ("Остап", "Остапович", "Остапівна"),
    ("Назар", "Назарович", "Назарівна"), ("Максим", "Максимович", "Максимівна"),
    ("Віталій", "Віталійович", "Віталіївна"), ("Руслан", "Русланович", "Русланівна"),
]
FEMALE_NAMES = ["Олена", "Мар'яна", "Дар'я", "Ірина", "Наталія", "Оксана", "Галина",
                "Тетяна", "Людмила", "Софія", "Ганна", "Катерина", "Юлія", "Ольга",
                "Христина", "Марія", "Зоряна", "Віра", "Надія", "Лариса", "Інна", "Єва"]
SURNAMES = [  # masculine, feminine
    ("Ковальчук",) * 2, ("Мельник",) * 2, ("Шевчук",) * 2, ("Бондаренко",) * 2,
    ("Ткаченко",) * 2, ("Кравченко",) * 2, ("Олійник",) * 2, ("Поліщук",) * 2,
    ("Лисенко",) * 2, ("Савчук",) * 2, ("Мороз",) * 2, ("Марчук",) * 2,
    ("Гнатюк",) * 2, ("Романюк",) * 2, ("Кравчук",) * 2, ("Остапчук",) * 2,
    ("Дем'янчук",) * 2, ("Прокоп'юк",) * 2, ("Лук'янчук",) * 2, ("Ґудзь",) * 2,
    ("Їжакевич",) * 2, ("Бойко",) * 2, ("Коваленко",) * 2, ("Гончар",) * 2,
    ("Пономаренко",) * 2, ("Левчук",) * 2, ("Приходько",) * 2, ("Яковенко",) * 2,
    ("Семенюк",) * 2, ("Климчук",) * 2, ("Вакулюк",) * 2, ("Сидорук",) * 2,
    ("Панасюк",) * 2, ("Тарасюк",) * 2, ("Дмитрук",) * 2, ("Ґалаґан",) * 2,
    ("Ковальський", "Ковальська"), ("Вишневський", "Вишневська"),
    ("Зарицький", "Зарицька"), ("Островський", "Островська"),
    ("Білецький", "Білецька"), ("Яворський", "Яворська"),
    ("Захарчук",) * 2, ("Федорчук",) * 2, ("Мартинюк",) * 2, ("Хомич",) * 2,
    ("Євтушенко",) * 2, ("Ющенко",) * 2, ("Іващук",) * 2, ("Юхимчук",) * 2,
]

CAR_MODELS = [  # model, body class, seats, load kg, engine cc, weight
    ("Skoda Octavia", "Комфорт", 4, 350, 1598, 8), ("Renault Logan", "Стандарт", 4, 300, 1461, 10),
    ("Daewoo Lanos", "Стандарт", 4, 300, 1498, 6), ("ЗАЗ Сенс", "Стандарт", 4, 280, 1299, 3),
    ("Toyota Corolla", "Комфорт", 4, 350, 1598, 6), ("Hyundai Accent", "Стандарт", 4, 300, 1396, 6),
    ("Kia Rio", "Стандарт", 4, 300, 1396, 5), ("Chevrolet Aveo", "Стандарт", 4, 300, 1498, 5),
    ("Skoda Fabia", "Стандарт", 4, 300, 1390, 4), ("Volkswagen Passat", "Комфорт", 4, 400, 1968, 4),
    ("Nissan Leaf", "Комфорт", 4, 300, 0, 2), ("Dacia Logan MCV", "Універсал", 4, 500, 1461, 4),
    ("Volkswagen Caddy", "Мінівен", 6, 600, 1598, 3), ("Opel Vivaro", "Мінівен", 8, 900, 1995, 2),
    ("Ford Transit", "Вантажний", 2, 1500, 2198, 1),
]
COLOURS = ["білий", "чорний", "сірий", "сріблястий", "синій", "червоний", "жовтий",
           "зелений", "бежевий", "вишневий", "темно-синій"]
PLATE_LETTERS = "АВСЕНІКМОРТХ"
VIN_CHARS = "ABCDEFGHJKLMNPRSTUVWXYZ0123456789"
MOBILE_CODES = ["050", "066", "067", "068", "093", "095", "096", "097", "098", "063", "073"]

TARIFFS = [  # name, boarding, km in town, km out of town, preliminary, waiting minute, weight
    ("Міський", 50.00, 16.00, 18.00, 20.00, 3.00, 60),
    ("Нічний", 65.00, 20.00, 22.00, 20.00, 4.00, 12),
    ("Комфорт", 80.00, 22.00, 24.00, 25.00, 4.00, 10),
    ("Мінівен", 90.00, 24.00, 26.00, 30.00, 5.00, 7),
    ("Вантажний", 150.00, 30.00, 32.00, 40.00, 6.00, 3),
    ("Пільговий", 40.00, 14.00, 16.00, 20.00, 2.50, 8),
]

DISPATCHERS = [  # name, password, admin, priyom, rozd, karta, tarif, zamovl
    ("Ковальчук Олена Петрівна", "1", 1, 1, 1, 1, 1, 1),
    ("Мельник Мар'яна Іванівна", "2", 0, 1, 1, 1, 0, 1),
    ("Гнатюк В'ячеслав Олегович", "3", 0, 1, 1, 0, 0, 0),
    ("Бондар Дмитро Сергійович", "4", 0, 0, 0, 0, 0, 0),
]
ON_SHIFT = [d[0] for d in DISPATCHERS[:3]]

ORDER_NOTES = ["", "", "", "", "під'їзд 2", "з дитячим кріслом", "багаж, 2 валізи",
               "зателефонувати за 5 хв", "кінолог з собакою", "оплата карткою",
               "чекати біля магазину", "клієнт у жовтій куртці", "домофон 25",
               "не працює ліфт, допомогти з речами"]
DELETE_REASONS = ["Клієнт відмовився", "Клієнт не вийшов", "Немає вільних авто",
                  "Помилка диспетчера, дубль", "Клієнт передумав, поїде автобусом",
                  "Водій відмовився (далеко)", "Не відповідає телефон"]
DRIVER_MSG_TEMPLATES = ["Зайдіть до диспетчерської після зміни.",
                        "Клієнт чекає, підтвердіть прибуття.",
                        "Перевірте баланс, поповніть аванс.",
                        "На вул. Мостова ремонт, об'їжджайте через вул. Зарічна.",
                        "З 22:00 працюємо за нічним тарифом.",
                        "Візьміть дитяче крісло на наступне замовлення."]
DISP_MSG_TEMPLATES = ["Прийміть зміну, касу звірено.",
                      "Не працює IP телефонія, приймаємо на мобільний.",
                      "Увага! Клієнт [00013] у чорному списку.",
                      "Перевірте попередні замовлення на ранок."]
GPRS_ACTIONS = ["Водій вийшов в ефір", "Стоянка: {stand}", "Прийняв замовлення",
                "Прибув на адресу, очікую клієнта", "Клієнт сів в авто",
                "Замовлення виконано", "Відмова від замовлення: клієнт не вийшов"]
NEARBY_PLACES = ["с. Вербівка", "с. Липне", "с. Озерце", "смт Соснівка", "с. Дубове",
                 "с. Підгайці", "с. Забороль", "с. Гірка Полонка"]


# ----------------------------------------------------------------------------- SQL text

def q(text):
    """Text literal: single quotes, every quote doubled; cp1251 only."""
    if text is None:
        return "NULL"
    text = str(text)
    try:
        text.encode("cp1251")
    except UnicodeEncodeError as error:
        raise SystemExit("not representable in cp1251: %r (%s)" % (text, error))
    if "\n" in text or "\r" in text or ";" in text:
        raise SystemExit("text breaks the one-statement-per-line format: %r" % text)
    return "'" + text.replace("'", "''") + "'"


def money(value):
    """Amount cut (not rounded) to cents, decimal point."""
    cents = math.floor(value * 100 + 1e-6)
    return "%d.%02d" % (cents // 100, cents % 100)


def sql_int(value):
    return "NULL" if value is None else str(int(value))


def insert(table, columns, values):
    assert len(columns) == len(values), table
    return "INSERT INTO %s (%s) VALUES (%s);" % (table, ", ".join(columns), ", ".join(values))


def insert_select(table, columns, values, source):
    assert len(columns) == len(values), table
    return "INSERT INTO %s (%s) SELECT %s FROM %s;" % (
        table, ", ".join(columns), ", ".join(values), source)


# "Now" of the script: the moment it is loaded, or a fixed moment (--now) so that a
# benchmark measures the same working day at whatever hour it runs.
NOW = {"timestamp": "CURRENT_TIMESTAMP(0)", "date": "CURRENT_DATE", "time": "CURRENT_TIME"}


def fix_now(text):
    """Makes every date and time of the script relative to text, 'yyyy-mm-dd hh:mm:ss'."""
    stamp = "CAST('%s' AS TIMESTAMP)" % text
    NOW.update(timestamp=stamp, date="CAST(%s AS DATE)" % stamp, time="CAST(%s AS TIME)" % stamp)


def now_plus(amount, unit):
    return "DATEADD(%d %s TO %s)" % (amount, unit, NOW["timestamp"])


def moment(minutes_from_now):
    """Derived table T with one column TS, a whole-second timestamp relative to now."""
    return "(SELECT %s AS TS FROM RDB$DATABASE) T" % now_plus(minutes_from_now, "MINUTE")


def ts_date(expr):
    return "CAST(%s AS DATE)" % expr


def ts_time(expr):
    return "CAST(%s AS TIME)" % expr


def ts_text(expr, width):
    """'hh:mm' (width 5) or 'hh:mm:ss' (width 8) text of a timestamp."""
    return "SUBSTRING(CAST(CAST(%s AS TIME) AS VARCHAR(13)) FROM 1 FOR %d)" % (expr, width)


def on_air_text(expr):
    """'[h:mm:ss](){}' of a timestamp: the hour without a leading zero."""
    return ("'[' || CAST(EXTRACT(HOUR FROM {t}) AS VARCHAR(2)) || ':' || "
            "LPAD(CAST(EXTRACT(MINUTE FROM {t}) AS VARCHAR(2)), 2, '0') || ':' || "
            "LPAD(CAST(CAST(EXTRACT(SECOND FROM {t}) AS INTEGER) AS VARCHAR(2)), 2, '0') || "
            "'](){{}}'").format(t=expr)


def day_date(days_ago):
    return NOW["date"] if days_ago == 0 else "DATEADD(%d DAY TO %s)" % (-days_ago, NOW["date"])


def hms(seconds):
    seconds %= 86400
    return "%02d:%02d:%02d" % (seconds // 3600, seconds // 60 % 60, seconds % 60)


# ----------------------------------------------------------------------------- geometry

class Street:
    def __init__(self, kind, x1, y1, dx, dy, length, role):
        self.kind, self.x1, self.y1, self.dx, self.dy = kind, x1, y1, dx, dy
        self.length = length          # steps on the grid
        self.role = role              # 'bank', 'bridge', 'avenue', 'main', 'street'
        self.number = 0
        self.name = ""
        self.district = ""
        self.crossings = []           # step positions of crossings and stands
        self.houses = []              # (step, house number text, point)

    def point(self, step):
        return (self.x1 + step * self.dx, self.y1 + step * self.dy)

    def step_px(self):
        return math.sqrt(self.dx * self.dx + self.dy * self.dy)

    def px_length(self):
        return self.length * self.step_px()

    def short(self):
        for prefix in STREET_PREFIXES:
            if self.name.startswith(prefix):
                return self.name[len(prefix):]
        return self.name


def stratified(rng, low, high, count, pad=0.2):
    if count <= 0:
        return []
    slot = (high - low) / count
    return [int(low + slot * (i + rng.uniform(pad, 1 - pad))) for i in range(count)]


def span(rng, low, high, frac_low, frac_high):
    length = int((high - low) * rng.uniform(frac_low, frac_high))
    start = rng.randint(low, high - length)
    return start, start + length


def intersect(a, b):
    """Step on a and on b where the two lines meet, or None."""
    det = a.dx * (-b.dy) + b.dx * a.dy
    if det == 0:
        return None
    px, py = b.x1 - a.x1, b.y1 - a.y1
    num_t = px * (-b.dy) + b.dx * py
    num_u = a.dx * py - a.dy * px
    if num_t % det or num_u % det:
        return None
    t, u = num_t // det, num_u // det
    if 0 <= t <= a.length and 0 <= u <= b.length:
        return t, u
    return None


def lay_out_streets(rng, count):
    n_avenue = 2 if count < 40 else 4
    rest = count - n_avenue
    n_h = rest // 2
    n_v = rest - n_h
    n_h_south = max(2, round(n_h * 0.3))
    n_h_north = n_h - n_h_south
    n_bridge = max(2, n_v // 6)
    n_v_south = max(1, round((n_v - n_bridge) * 0.3))
    n_v_north = n_v - n_bridge - n_v_south
    streets = []
    # Horizontal streets north of the river; the last one is the embankment.
    ys = stratified(rng, 220, 1860, n_h_north - 1)
    main = len(ys) // 2
    for i, y in enumerate(ys):
        if i == main:
            x1, x2 = 200, 3800
        else:
            x1, x2 = span(rng, 200, 3800, 0.35, 0.95)
        streets.append(Street("H", x1, y, 1, 0, x2 - x1, "main" if i == main else "street"))
    streets.append(Street("H", 200, NORTH_BANK, 1, 0, 3600, "bank"))
    # South of the river: the embankment, then the others.
    streets.append(Street("H", 300, SOUTH_BANK, 1, 0, 3400, "bank"))
    for y in stratified(rng, 2200, 2820, n_h_south - 1):
        x1, x2 = span(rng, 300, 3700, 0.3, 0.9)
        streets.append(Street("H", x1, y, 1, 0, x2 - x1, "street"))
    # Vertical streets; bridges cross the river.
    xs = stratified(rng, 250, 3750, n_v_north + n_bridge)
    bridge_slots = [int((i + 0.5) * len(xs) / n_bridge) for i in range(n_bridge)]
    bridge_xs = []
    for i, x in enumerate(xs):
        if i in bridge_slots:
            y1, y2 = rng.randint(150, 700), rng.randint(2500, 2850)
            streets.append(Street("V", x, y1, 0, 1, y2 - y1, "bridge"))
            bridge_xs.append(x)
        elif rng.random() < 0.5:
            y1 = rng.randint(150, 1100)
            streets.append(Street("V", x, y1, 0, 1, NORTH_BANK - y1, "street"))
        else:
            y1, y2 = span(rng, 150, NORTH_BANK, 0.4, 0.9)
            streets.append(Street("V", x, y1, 0, 1, y2 - y1, "street"))
    for x in stratified(rng, 350, 3650, n_v_south):
        while any(abs(x - bx) < 45 for bx in bridge_xs):
            x += 47
        y2 = rng.randint(2450, 2850)
        streets.append(Street("V", x, SOUTH_BANK, 0, 1, y2 - SOUTH_BANK, "street"))
    # Avenues at 45 degrees north of the river (even constants keep crossings whole).
    for i in range(n_avenue):
        cx, cy = rng.randint(1300, 2700), rng.randint(600, 1500)
        if i % 2 == 0:      # x + y = k, running up to the right
            k = (cx + cy) // 2 * 2
            low, high = max(250, k - 1900), min(3750, k - 180)
            x1, x2 = span(rng, low, high, 0.55, 0.9)
            streets.append(Street("D-", x1, k - x1, 1, -1, x2 - x1, "avenue"))
        else:               # x - y = k, running down to the right
            k = (cx - cy) // 2 * 2
            low, high = max(250, k + 180), min(3750, k + 1900)
            x1, x2 = span(rng, low, high, 0.55, 0.9)
            streets.append(Street("D+", x1, x1 - k, 1, 1, x2 - x1, "avenue"))
    return streets


def cross_streets(streets):
    """Crossings: {(x, y): [street index, ...]} and each street's crossing steps."""
    crossings = {}
    for i in range(len(streets)):
        for j in range(i + 1, len(streets)):
            hit = intersect(streets[i], streets[j])
            if hit is None:
                continue
            point = streets[i].point(hit[0])
            members = crossings.setdefault(point, [])
            for k in (i, j):
                if k not in members:
                    members.append(k)
    return crossings


def connected(count, crossings):
    parent = list(range(count))

    def find(k):
        while parent[k] != k:
            parent[k] = parent[parent[k]]
            k = parent[k]
        return k

    for members in crossings.values():
        for k in members[1:]:
            parent[find(k)] = find(members[0])
    return len({find(k) for k in range(count)}) == 1


def name_streets(rng, streets):
    used = set()
    general = GENERAL_STREETS[:2] + sorted(GENERAL_STREETS[2:], key=lambda _: rng.random())
    flavoured = {d: list(names) for d, names in DISTRICT_STREETS.items()}
    bridges, avenues = list(BRIDGE_STREETS), list(AVENUES)
    fallback = 0

    def take(pool):
        while pool:
            name = pool.pop(0)
            if name not in used:
                return name
        return None

    order = sorted(range(len(streets)), key=lambda k: (
        ["bank", "bridge", "avenue", "main", "street"].index(streets[k].role), k))
    for k in order:
        s = streets[k]
        mx, my = s.point(s.length // 2)
        s.district = district_at(mx, my)
        name = None
        if s.role == "bank":
            name = "вул. Набережна" if s.y1 < RIVER_TOP else "вул. Зарічна"
        elif s.role == "bridge":
            name = take(bridges)
        elif s.role == "avenue":
            name = take(avenues)
        elif s.role == "main":
            name = "вул. Соборна"
        elif rng.random() < 0.45:
            name = take(flavoured[s.district])
        name = name or take(general) or take(flavoured[s.district])
        while name is None or name in used:
            fallback += 1
            name = "вул. Нова %d-а" % fallback
        used.add(name)
        s.name = name


# ----------------------------------------------------------------------------- city

class Point:
    def __init__(self, label, x, y, streets, status):
        self.number = 0
        self.label, self.x, self.y = label, x, y
        self.streets = list(streets)[:5]
        self.status = status
        self.district = district_at(x, y)


def distance(a, b):
    return math.hypot(a.x - b.x, a.y - b.y)


class City:
    def __init__(self, rng, n_points, n_stands, n_streets, n_objects):
        for attempt in range(500):
            streets = lay_out_streets(rng, n_streets)
            crossings = cross_streets(streets)
            if connected(len(streets), crossings):
                break
        else:
            raise SystemExit("could not lay out a connected street network")
        self.streets = streets
        name_streets(rng, streets)
        # Number streets in a stable order: by district, then by name.
        for number, s in enumerate(sorted(streets, key=lambda s: (
                DISTRICTS.index(s.district), s.name)), start=1):
            s.number = number
        self.stands, self.objects, self.crossings, self.houses = [], [], [], []
        cross_points = [(xy, members) for xy, members in crossings.items()]
        self._place_stands(rng, cross_points, n_stands)
        taken = {(p.x, p.y) for p in self.stands}
        for (x, y), members in cross_points:
            for k in members:
                s = streets[k]
                s.crossings.append(self._step_of(s, x, y))
            if (x, y) not in taken:
                self.crossings.append(Point(None, x, y, [streets[k].number for k in members],
                                            "ПЕРЕХРЕСТЯ"))
        n_houses = n_points - len(self.stands) - len(self.crossings) - n_objects
        if n_houses < 2 * len(streets):
            raise SystemExit("--points %d is too few for %d streets, %d stands and %d objects "
                             "(%d crossings): use more points or fewer streets"
                             % (n_points, len(streets), n_stands, n_objects, len(self.crossings)))
        self._place_houses(rng, n_houses)
        self._place_objects(rng, n_objects)
        number = 0
        for p in self.stands + self.objects + self.crossings + self.houses:
            number += 1
            p.number = number
        self.points = self.stands + self.objects + self.crossings + self.houses

    @staticmethod
    def _step_of(s, x, y):
        return (x - s.x1) // s.dx if s.dx else (y - s.y1) // s.dy

    def _place_stands(self, rng, cross_points, n_stands):
        candidates = []   # (x, y, street indexes, is crossing)
        for (x, y), members in cross_points:
            candidates.append((x, y, members[:2], True))
        on_street = {}
        for (x, y), members in cross_points:
            for k in members:
                on_street.setdefault(k, []).append(self._step_of(self.streets[k], x, y))
        for k, s in enumerate(self.streets):
            steps = int(150 / s.step_px())
            near = int(40 / s.step_px())
            for step in range(steps // 2, s.length, steps):
                x, y = s.point(step)
                if all(abs(step - c) > near for c in on_street.get(k, [])) and not in_river(x, y):
                    candidates.append((x, y, [k], False))
        if n_stands > len(candidates):
            raise SystemExit("too many stands for this map")
        # Farthest-point sampling from the middle of the town, crossings preferred.
        best = min(range(len(candidates)), key=lambda c: (
            abs(candidates[c][0] - 2000) + abs(candidates[c][1] - 1300), c))
        nearest = [math.inf] * len(candidates)
        chosen = []
        names = {d: list(v) for d, v in STAND_NAMES.items()}
        labels = set()
        while len(chosen) < n_stands:
            chosen.append(best)
            x, y, members, is_cross = candidates[best]
            district = district_at(x, y)
            label = names[district].pop(0) if names[district] else None
            if label is None:
                shorts = [self.streets[k].short() for k in members]
                label = " - ".join(shorts) if is_cross else "%s, стоянка" % shorts[0]
                suffix = 1
                base = label
                while label in labels:
                    suffix += 1
                    label = "%s %d" % (base, suffix)
            labels.add(label)
            for k in members:
                s = self.streets[k]
                s.crossings.append(self._step_of(s, x, y))
            stand = Point(label, x, y, [self.streets[k].number for k in members], "СТОЯНКА")
            self.stands.append(stand)
            best, best_score = None, -1.0
            for c, (cx, cy, _, c_cross) in enumerate(candidates):
                d = math.hypot(cx - x, cy - y)
                if d < nearest[c]:
                    nearest[c] = d
                # Crossings and the middle of the town are preferred.
                middle = 1.0 + 0.6 * math.exp(-math.hypot(cx - 2000, cy - 1300) / 700.0)
                score = nearest[c] * middle * (1.2 if c_cross else 1.0) * rng.uniform(0.9, 1.0)
                if nearest[c] > 0 and score > best_score:
                    best, best_score = c, score

    def _place_houses(self, rng, n_houses):
        total = sum(s.px_length() for s in self.streets)
        shares = [n_houses * s.px_length() / total for s in self.streets]
        counts = [max(1, int(share)) for share in shares]
        order = sorted(range(len(self.streets)), key=lambda k: -(shares[k] - int(shares[k])))
        k = 0
        while sum(counts) < n_houses:
            counts[order[k % len(order)]] += 1
            k += 1
        while sum(counts) > n_houses:
            big = max(range(len(counts)), key=lambda i: counts[i])
            counts[big] -= 1
        for s, count in zip(self.streets, counts):
            gap = max(1, int(12 / s.step_px()))
            busy = set()
            for c in s.crossings:
                busy.update(range(c - gap, c + gap + 1))
            busy.update(step for step in range(s.length + 1) if in_river(*s.point(step)))
            spacing = s.length / count
            steps = []
            for i in range(count):
                step = int(spacing * (i + 0.5 + rng.uniform(-0.25, 0.25)))
                step = min(max(step, 0), s.length)
                probe, delta = step, 0
                while probe in busy or probe < 0 or probe > s.length:
                    delta = -delta if delta > 0 else -delta + 1
                    probe = step + delta
                    if delta > s.length:
                        raise SystemExit("street %s is too short for its houses" % s.name)
                busy.update(range(probe - gap, probe + gap + 1))
                steps.append(probe)
            steps.sort()
            number = rng.choice([1, 1, 2])
            previous = None
            for step in steps:
                if previous is not None:
                    if rng.random() < 0.06:
                        text = "%dА" % previous
                        if any(h[1] == text for h in s.houses):
                            number = previous + rng.choice([1, 2])
                            text = str(number)
                    else:
                        number = previous + rng.choice([1, 2, 2, 3, 4])
                        text = str(number)
                else:
                    text = str(number)
                if text[-1] != "А":
                    previous = number
                x, y = s.point(step)
                house = Point("[%s]{%s}" % (s.name, text), x, y, [], "БУДИНОК")
                house.street = s
                house.house = text
                s.houses.append((step, text, house))
                self.houses.append(house)

    def _place_objects(self, rng, n_objects):
        """Objects stand at houses; kinds take turns, named ones before numbered ones."""
        named = {kind: [t for t in names if "{n}" not in t] for kind, names in OBJECT_KINDS}
        numbered = {kind: [t for t in names if "{n}" in t] for kind, names in OBJECT_KINDS}
        counters = {}
        houses = sorted(self.houses, key=lambda _: rng.random())
        for i in range(n_objects):
            kind = OBJECT_KINDS[i % len(OBJECT_KINDS)][0]
            if named[kind]:
                name = named[kind].pop(0)
            else:
                choices = numbered[kind] or [t for ts in numbered.values() for t in ts]
                template = choices[counters.get(kind, 0) % len(choices)]
                counters[kind] = counters.get(kind, 0) + 1
                counters[template] = counters.get(template, 0) + 1
                name = template.replace("{n}", str(counters[template]))
            house = houses[i % len(houses)]
            obj = Point("%s  %s %s" % (name, house.street.name, house.house), house.x, house.y,
                        [house.street.number], kind)
            obj.street = house.street
            self.objects.append(obj)

    def street_by_number(self, number):
        return next(s for s in self.streets if s.number == number)


# ----------------------------------------------------------------------------- one-way passages

def passages_of(city):
    """Directed passages between streets that cross at a point of the map."""
    passages = set()
    for p in city.crossings + city.stands:
        for a in p.streets:
            for b in p.streets:
                if a != b:
                    passages.add((a, b))
    return passages


def strongly_connected(streets, passages):
    """Every street reaches every other one over the allowed passages."""
    forward, backward = {}, {}
    for a, b in passages:
        forward.setdefault(a, []).append(b)
        backward.setdefault(b, []).append(a)

    def reach(links):
        seen, todo = {streets[0]}, [streets[0]]
        while todo:
            for n in links.get(todo.pop(), []):
                if n not in seen:
                    seen.add(n)
                    todo.append(n)
        return len(seen) == len(streets)

    return reach(forward) and reach(backward)


def one_way_passages(city, share, seed):
    """Two one-way passages in the centre, between streets that really cross, and with
    --one-way-share that share of all passages; a passage is made one-way only while
    every street still reaches every other one, so every route can be measured. Its own
    random numbers: the rest of the city stays as it is for any share."""
    streets = sorted(s.number for s in city.streets)
    allowed = passages_of(city)
    one_way = []

    def close(a, b):
        if (a, b) in allowed and strongly_connected(streets, allowed - {(a, b)}):
            allowed.discard((a, b))
            one_way.append((a, b))

    for p in sorted(city.crossings, key=lambda p: math.hypot(p.x - 2000, p.y - 1300)):
        a, b = p.streets[0], p.streets[1]
        if all(a not in pair and b not in pair for pair in one_way):
            close(a, b)
        if len(one_way) == 2:
            break
    rng = random.Random(seed * 7919 + 1)
    wanted = round(share * len(passages_of(city)))
    for a, b in sorted(allowed, key=lambda _: rng.random()):
        if len(one_way) >= wanted:
            break
        close(a, b)
    return one_way


# ----------------------------------------------------------------------------- people

class People:
    def __init__(self, rng):
        self.rng = rng
        self.used = set()

    def person(self, female=False):
        rng = self.rng
        for _ in range(1000):
            surname = rng.choice(SURNAMES)[1 if female else 0]
            if female:
                first = rng.choice(FEMALE_NAMES)
                patronymic = rng.choice(MALE_NAMES)[2]
            else:
                first, patronymic, _ = rng.choice(MALE_NAMES)
                patronymic = rng.choice(MALE_NAMES)[1]
            name = "%s %s %s" % (surname, first, patronymic)
            if name not in self.used and not any(name == d[0] for d in DISPATCHERS):
                self.used.add(name)
                return name
        raise SystemExit("ran out of names")

    def mobile(self):
        return self.rng.choice(MOBILE_CODES) + "%07d" % self.rng.randint(0, 9999999)

    def city_phone(self):
        return "%d%05d" % (self.rng.randint(2, 7), self.rng.randint(0, 99999))

    def birthday(self, first_year, last_year):
        rng = self.rng
        return "%02d.%02d.%d" % (rng.randint(1, 28), rng.randint(1, 12),
                                 rng.randint(first_year, last_year))


# ----------------------------------------------------------------------------- generator

class Generator:
    def __init__(self, args):
        self.args = args
        self.rng = random.Random(args.seed)
        rng = self.rng
        n_streets = args.streets or max(12, round(1.3 * math.sqrt(args.points)))
        n_objects = args.objects if args.objects is not None else max(4, args.points // 30)
        self.city = City(rng, args.points, args.stands, n_streets, n_objects)
        self.people = People(rng)
        self.lines = []
        self.roll_call = args.roll_call
        hh, mm = (int(v) for v in args.roll_call.split(":"))
        self.roll_call_minutes = hh * 60 + mm
        self.lead_minutes = 30
        self.jubilee_limit = 50.0
        self.rides_for_free = 10
        self.speed = 40.0
        self.addresses = [p for p in self.city.houses]

    # -- output
    def out(self, line):
        self.lines.append(line)

    def comment(self, text):
        assert "\n" not in text
        self.out("-- " + text)

    # -- helpers
    def km(self, a, b):
        return max(1.0, distance(a, b) * METRES_PER_PIXEL * 1.25 / 1000.0)

    def address(self, point, extra=True):
        """Route text of a map point: a house with its flat, or an object's label."""
        if point.status == "БУДИНОК":
            text = point.label
            if extra and self.rng.random() < 0.6:
                text += " " + self.rng.choice(["кв. %d" % self.rng.randint(1, 120),
                                               "під'їзд %d" % self.rng.randint(1, 6),
                                               "кв. %d, під'їзд %d" % (self.rng.randint(1, 90),
                                                                      self.rng.randint(1, 4))])
            return text
        return point.label

    def pick_place(self):
        rng = self.rng
        roll = rng.random()
        if roll < 0.82:
            return rng.choice(self.city.houses)
        if roll < 0.92 and self.city.objects:
            return rng.choice(self.city.objects)
        return rng.choice(self.city.stands)

    def tariff(self, night=False):
        if night:
            return TARIFFS[1]
        return self.rng.choices(TARIFFS, weights=[t[6] for t in TARIFFS])[0]

    def trip(self, preliminary=False, night=False, client_share=0.55):
        rng = self.rng
        start = self.pick_place()
        dest = self.pick_place()
        while dest is start:
            dest = self.pick_place()
        tariff = self.tariff(night)
        km = self.km(start, dest)
        price = tariff[1] + km * tariff[2] + (tariff[4] if preliminary else 0.0)
        client = rng.choice(self.clients) if self.clients and rng.random() < client_share else None
        if client and client["discount"]:
            price -= price * client["discount"] / 100.0
        jubilee = bool(client) and rng.random() < 0.08
        if jubilee:
            price = max(0.0, price - self.jubilee_limit)
        phone = client["phones"][0] if client else self.people.mobile()
        kind = "{попереднє}" if preliminary else "{швидке}"
        note = rng.choice(ORDER_NOTES)
        description = "%s   тел.:[%s]   тариф:[%s]  (%s)" % (kind, phone, tariff[0], note)
        destination = self.address(dest, extra=rng.random() < 0.3) if rng.random() > 0.04 else ""
        minutes = int(km / self.speed * 60) + rng.randint(4, 9)
        return {
            "client": client["code"] if client else 0,
            "balance": client["balance"] if client else 0.0,
            "description": description,
            "start": self.address(start)[:100],
            "start_point": start,
            "dest": destination[:100],
            "price": price,
            "jubilee": jubilee,
            "minutes": minutes,
        }

    # -- sections
    def run(self):
        a = self.args
        city = self.city
        self.fleet()
        self.header()
        self.streets()
        self.map_points()
        self.staff_and_settings()
        self.clients_table()
        self.archive()
        self.black_list()
        self.on_air()
        self.open_orders()
        self.gprs_rows()
        self.messages()
        self.comment("end of demo city (%d statements)" % sum(
            1 for line in self.lines if not line.startswith("--")))
        text = "\n".join(self.lines) + "\n"
        text.encode("cp1251")
        return text

    def header(self):
        a = self.args
        self.comment("Demo city %s: %d streets, %d map points (%d stands), %d drivers (%d on air), "
                     "%d clients" % (CITY, len(self.city.streets), len(self.city.points),
                                     len(self.city.stands), a.drivers, a.on_air, a.clients))
        self.comment("Generated by tools/democity/make_demo_city.py --seed %d --stands %d "
                     "--points %d --drivers %d --on-air %d --open-orders %d --period-orders %d "
                     "--past-orders %d --clients %d" % (a.seed, a.stands, a.points, a.drivers,
                                                        a.on_air, a.open_orders, a.period_orders,
                                                        a.past_orders, a.clients))
        self.comment("Do not edit by hand: change the generator and regenerate.")
        self.comment("Dispatchers and passwords: " + ", ".join(
            "%s = %s" % (d[0], d[1]) for d in DISPATCHERS) +
            " (the last one has no rights)")
        self.comment("Dates and times are relative to %s." % (
            "the moment the script is loaded" if a.now is None else a.now))
        self.out("")

    def streets(self):
        self.comment("Streets")
        for s in sorted(self.city.streets, key=lambda s: s.number):
            self.out(insert("VULICA_LUCK", ["SPISOK_VUL_NOMER", "SPISOK_VUL_VULICA",
                                            "SPISOK_VUL_RAYON"],
                            [sql_int(s.number), q(s.name), q(s.district)]))
        self.out("")

    def map_points(self):
        self.comment("Map points: stands, objects, street crossings, houses")
        cols = ["KOORD_KART_MISTA_NP", "KOORD_KART_MISTA_PIDPIS", "KOORD_KART_MISTA_X",
                "KOORD_KART_MISTA_Y", "KOORD_KART_MISTA_PUKT_1", "KOORD_KART_MISTA_PUKT_2",
                "KOORD_KART_MISTA_PUKT_3", "KOORD_KART_MISTA_PUKT_4", "KOORD_KART_MISTA_PUKT_5",
                "KOORD_KART_MISTA_RAYON", "KOORD_KART_MISTA_STATUS"]
        for p in self.city.points:
            pukt = (p.streets + [0] * 5)[:5]
            self.out(insert("KARTA_MISTA", cols, [sql_int(p.number), q(p.label), sql_int(p.x),
                                                  sql_int(p.y)] + [sql_int(n) for n in pukt] +
                            [q(p.district), q(p.status)]))
        self.out("")

    def staff_and_settings(self):
        self.comment("Dispatchers")
        cols = ["TABLE_PRACIV_NOMER", "TABLE_PRACIV_FIO", "TABLE_PRACIV_PASSWORD",
                "TABLE_PRACIV_DOST_ADMIN", "TABLE_PRACIV_DOST_PRIYOM", "TABLE_PRACIV_DOST_ROZD",
                "TABLE_PRACIV_DOST_KARTA", "TABLE_PRACIV_DOST_TARIF", "TABLE_PRACIV_DOST_ZAMOVL"]
        for number, d in enumerate(DISPATCHERS, start=1):
            self.out(insert("PRACIVNIK", cols, [sql_int(number), q(d[0]), q(d[1])] +
                            [sql_int(v) for v in d[2:]]))
        self.out("")
        self.comment("Company settings (one row)")
        self.out(insert("DANI_FIRMI",
                        ["FIRMA_SERED_SHVIDKIST", "FIRMA_ZA_CHAS_POPERED_ZAMOV",
                         "FIRMA_KIL_DLIA_BEZKOCHT_POIZDKI", "FIRMA_LIMIT_BEZKOCHT_POIZDKI_KM",
                         "FIRMA_CHAS_DLIA_ZAKR_ZAMOVL", "FIRMA_CHAS_DLIA_PEREZM_AVTO", "FIRMA_PDV"],
                        [money(self.speed), sql_int(self.lead_minutes),
                         sql_int(self.rides_for_free), money(self.jubilee_limit), "30",
                         q(self.roll_call), "0.00"]))
        self.out("")
        self.comment("Tariffs")
        for t in TARIFFS:
            self.out(insert("TARIFI", ["TARIF_NAME", "TARIF_PRIINYATTA_ZAMOVL", "TARIF_KM_MISTO",
                                       "TARIF_KM_ZA_MISTO", "TARIF_CINA_POPERED_ZAMOVL",
                                       "TARIF_HV_PROSTOU"],
                            [q(t[0])] + [money(v) for v in t[1:6]]))
        self.out("")
        self.comment("TARIF.INI, line by line")
        for number, line in enumerate(self.tarif_ini(), start=1):
            self.out(insert("SET_TARIFI", ["SET_TARIF_NOMER", "SET_TARIF_NAME"],
                            [sql_int(number), q(line)]))
        self.out("")

    def tarif_ini(self):
        rng = self.rng
        city = self.city
        lines = []

        def section(name, pairs):
            if lines:
                lines.append("")
            lines.append("[%s]" % name)
            for key, value in pairs:
                lines.append("%s=%s" % (key, value))

        def listing(count_key, item_key, items):
            pairs = [(count_key, str(len(items)))]
            pairs += [("%s%d" % (item_key, i), item) for i, item in enumerate(items, start=1)]
            return pairs

        section("SET_DISPETCHER", [
            ("MY_CITY", CITY), ("CHAS_OBNUL_YUVILEYKA", "120"), ("CHAS_OBNUL_RIBA", "60"),
            ("PROZVON_KLIENT", "5"), ("MIN_KOD_FOR_CREATE", "0"),
            ("MAX_VIDST_PRI_AUTO_ZAM", "3000"), ("MAX_KIL_STOYANKA_VODIY", "1"),
            ("AUTOROZDACHA_YUVIL", "0"), ("DAVATI_YUVIL_VODIYAM_Z_POMITKOU", "0")])
        section("SET_MSG_VODIY", [("DOZVIL_STVOR_SVOY_POVID", "1")] +
                listing("KIL_SHABLON_POVID", "SHABLON_POVID_", DRIVER_MSG_TEMPLATES))
        section("SET_MSG_DISP", listing("KIL_SHABLON_POVID", "SHABLON_POVID_",
                                        DISP_MSG_TEMPLATES))
        section("ZNIZHKA_TARIF", listing("KIL_POZ", "POZ_", [
            "Акція для пенсіонерів [Пільговий](10)",
            "Вихідного дня [Мінівен](5)"]))
        section("DOD_NASEL_PUNKTY", listing("KIL_POZ", "POZ_",
                                            [">%s<" % p for p in NEARBY_PLACES[:-1]] +
                                            [NEARBY_PLACES[-1]]))
        debtors = [c for c in self.clients if c["debtor"]]
        section("CHORNIY_SPISOK_KLIENT", listing("KIL_POZ", "POZ_", [
            "[%05d] борг %s грн, не розрахувався за поїздку" % (c["code"], money(c["debt"]))
            for c in debtors]))
        one_way = one_way_passages(city, self.args.one_way_share, self.args.seed)
        section("ODNOSTORONNI_VULICI", listing("KIL_POZ", "POZ_", [
            "[%d]->[%d] з %s на %s заборонено" % (a, b, city.street_by_number(a).name,
                                                  city.street_by_number(b).name)
            for a, b in one_way]))
        section("KOEFICIENT", listing("KIL_POZ", "POZ_", [
            "ВІДСТАНЬ [0](2){1.4} короткі поїздки",
            "ВІДСТАНЬ [2](5){1.2} по місту",
            "ВІДСТАНЬ [5](100){1.1} далекі поїздки"]))
        section("SET_ANALIZ", [("COMP_ANALIZ", "DISPETCHER-1")] + listing(
            "KIL_PROMIZHOK", "PROMIZHOK_", ["07:00", "10:00", "13:00", "16:00", "19:00",
                                            "22:00", "01:00", "04:00"]))
        # Map (0, 0) is the north-west corner; 2 m per pixel at latitude 50.7.
        section("PRIVIAZKA_VISICOM", [
            ("X", "0"), ("Y", "0"), ("X_PROSTIR", "25.2800"), ("Y_PROSTIR", "50.7800"),
            ("RIZN_X_KART", "4000"), ("RIZN_Y_KART", "3000"),
            ("RIZN_X_PROSTIR", "0.1135"), ("RIZN_Y_PROSTIR", "-0.0540")])
        # Districts: neighbours by distance of their middles, stands by distance to the middle.
        middles = {}
        for d in DISTRICTS:
            pts = [p for p in city.points if p.district == d]
            if pts:
                middles[d] = Point(None, int(sum(p.x for p in pts) / len(pts)),
                                   int(sum(p.y for p in pts) / len(pts)), [], "")
        pairs = []
        for d in DISTRICTS:
            if d not in middles:
                continue
            others = sorted((o for o in middles if o != d),
                            key=lambda o: distance(middles[d], middles[o]))
            pairs.append(("NEAREST_REGION{%s}" % d, "".join("{%s}" % o for o in others)))
            stands = sorted((s for s in city.stands if s.district == d),
                            key=lambda s: distance(s, middles[d]))
            # The nearest dozen is plenty, and keeps the line short.
            pairs.append(("NEAREST_STOYANKA{%s}" % d,
                          "".join("{%s}" % s.label for s in stands[:12])))
        section("SETREGION", pairs)
        operators = []
        for n, d in enumerate(DISPATCHERS[:3], start=1):
            operators.append(("OPERATOR{%d}" % n,
                              "OPER [%s] ATOR<Dostup>True</Dostup><IpServer>127.0.0.1</IpServer>"
                              "<PortServer>5060</PortServer><IdOperator>%d</IdOperator>"
                              "<PassServer>demo%d</PassServer><DostupOutCall>%s</DostupOutCall>"
                              % (d[0], 100 + n, 100 + n, "True" if n < 3 else "False")))
        section("SET_SIP", [("KODMISTA", "+380365"), ("DELETEZNAK", "3"), ("STUN", "127.0.0.1"),
                            ("PreficsYakKontakt", "1"), ("COUNT_OPERATOR", str(len(operators)))] +
                operators)
        # Tariff grid: fixed distances between some streets, in metres.
        grid = []
        majors = [s for s in city.streets if s.role in ("bank", "bridge", "avenue", "main")]
        others = sorted((s for s in city.streets if s.role == "street"), key=lambda s: s.number)
        n_grid = min(len(majors) * len(others), max(10, len(city.streets) // 2))
        for i in range(n_grid):
            a = majors[i % len(majors)]
            b = others[(i * 7) % len(others)]
            ma = Point(None, *a.point(a.length // 2), [], "")
            mb = Point(None, *b.point(b.length // 2), [], "")
            metres = max(1000, int(distance(ma, mb) * METRES_PER_PIXEL * 1.3 / 100) * 100)
            key = "L{%s}->{%s}" % (a.name, b.name)
            if all(key != k for k, _ in grid):
                grid.append((key, str(metres)))
        section("TARIFSITKA", grid)
        # The web distance service of the demo desk: the stand-in tools/webdistance that
        # ./taxi run starts on this loopback port.
        section("SET_WEB_VIDSTAN", [
            ("SCHEME", "http"), ("HOST", "127.0.0.1"), ("PORT", str(WEB_DISTANCE_PORT)),
            ("PATH", "/maps/api/distancematrix/xml"), ("HOST_HEADER", ""), ("API_KEY", ""),
            ("TIMEOUT_MS", "10000")])
        return lines

    def fleet(self):
        rng = self.rng
        a = self.args
        people = self.people
        n = a.drivers
        callsigns = sorted(rng.sample(range(1, max(999, 2 * n) + 1), n))
        shared = max(1, n // 15) if n >= 4 else 0
        # The last drivers take over callsigns of others on another shift.
        for i in range(shared):
            callsigns[n - 1 - i] = callsigns[i * 3]
        self.drivers = []
        plates = set()
        for i in range(n):
            female = rng.random() < 0.1
            name = people.person(female)
            street = rng.choice(self.city.houses)
            owner = next((d for d in self.drivers if d["callsign"] == callsigns[i]), None)
            if owner:
                car = dict(owner["car"])
            else:
                model = rng.choices(CAR_MODELS, weights=[m[5] for m in CAR_MODELS])[0]
                while True:
                    plate = "АС %04d %s%s" % (rng.randint(1, 9999), rng.choice(PLATE_LETTERS),
                                             rng.choice(PLATE_LETTERS))
                    if plate not in plates:
                        plates.add(plate)
                        break
                car = {"plate": plate, "model": model[0], "body": model[1], "seats": model[2],
                       "load": model[3], "cc": model[4], "colour": rng.choice(COLOURS),
                       "year": rng.randint(2006, 2023),
                       "vin": "".join(rng.choice(VIN_CHARS) for _ in range(17))}
            self.drivers.append({
                "number": i + 1, "name": name, "callsign": callsigns[i], "car": car,
                "address": "%s %s/%d" % (street.street.name, street.house, rng.randint(1, 80)),
                "phone": people.mobile(), "birthday": people.birthday(1960, 2000),
                "advance": rng.choice([0.0, 0.0, 150.0, 200.0, 500.0, 75.5]),
                "history": rng.randint(40, 2500), "executed": 0})
        self.clients = []
        self._make_clients()

    def _make_clients(self):
        rng = self.rng
        people = self.people
        n = self.args.clients
        self.clients = []
        for code in range(1, n + 1):
            female = rng.random() < 0.55
            name = people.person(female)
            if code == 2:
                name = "Лук'янчук Мар'яна Степанівна"
            home = rng.choice(self.city.houses)
            phones = [people.mobile()]
            if rng.random() < 0.35:
                phones.append(people.city_phone())
            self.clients.append({
                "code": code, "name": name,
                "address": "%s %s/%d" % (home.street.name, home.house, rng.randint(1, 120)),
                "phones": phones, "password": "%04d" % rng.randint(0, 9999),
                "balance": rng.choice([0.0] * 6 + [100.0, 250.0, 37.5, 500.0]),
                "discount": rng.choice([0] * 8 + [5, 10]),
                "rides": rng.randint(0, self.rides_for_free - 1),
                "free": 1 if rng.random() < 0.1 else 0,
                "birthday": people.birthday(1940, 2004) if rng.random() < 0.6 else None,
                "kind": "корпоративний" if rng.random() < 0.1 else "приватний",
                "debtor": False, "debt": 0.0})
        if len(self.clients) >= 13:
            self.clients[12]["debtor"] = True
            self.clients[12]["debt"] = 150.0
        elif self.clients:
            self.clients[-1]["debtor"] = True
            self.clients[-1]["debt"] = 150.0

    def clients_table(self):
        self.comment("Drivers and their cars")
        for d in self.drivers:
            self.out(insert("VODII", ["TABL_VODIY_NOMER", "TABL_VODIY_FIO", "TABL_VODIY_ADRESSA",
                                      "TABL_VODIY_TELEFON", "TABL_VODIY_NARODZEN",
                                      "TABL_VODIY_AVANS"],
                            [sql_int(d["number"]), q(d["name"]), q(d["address"]), q(d["phone"]),
                             q(d["birthday"]), money(d["advance"])]))
        self.out("")
        self.comment("Clients (code in KLIENT_DODATKOVO)")
        for c in self.clients:
            self.out(insert("KLIENT", ["KLIENT_NUMBER", "KLIENT_FIO", "KLIENT_ADRESS",
                                       "KLIENT_TELEFON", "KLIENT_DODATKOVO", "KLIENT_BALANS",
                                       "KLIENT_DATA_BALANSA", "KLIENT_ZNIZHKA",
                                       "KLIENT_KIL_VIKLIK", "KLIENT_KIL_FREE_VIKLIK",
                                       "KLIENT_DATA_NARODZENNIA"],
                            [sql_int(c["code"]), q(c["name"]), q(c["address"]),
                             q(" ".join(c["phones"])),
                             q("[%05d] %s (%s)" % (c["code"], c["kind"], c["password"])),
                             money(c["balance"]),
                             day_date(self.rng.randint(0, 60)) if c["balance"] else day_date(
                                 self.rng.randint(60, 400)),
                             money(c["discount"]), sql_int(c["rides"]), sql_int(c["free"]),
                             q(c["birthday"])]))
        self.out("")

    CZ_COLUMNS = ["CZ_NUMBER", "CZ_NOMER_KLIENT", "CZ_PRICHINA_DELETE", "CZ_POCHAT_PUNKT",
                  "CZ_PUNKT_PRIZHACH", "CZ_BALANS_KLIENTA", "CZ_SUMA_ROZRAHUNK",
                  "CZ_OPLATA_BALANSOM", "CZ_PRIYOM_ZAMOVL", "CZ_ROZDACHA_ZAMOVL",
                  "CZ_DATA_PRIYOMA", "CZ_CHAS_PRIYOMA", "CZ_DATA_ZAKR_ZAMOVL",
                  "CZ_CHAS_ZAKR_ZAMOVL", "CZ_CHAS_PRIYOM_VODIY", "CZ_POZIVNIY", "CZ_FIO_TAXI",
                  "CZ_BEZKOSHTOVN", "CZ_STATUS_ZAMOVL"]

    def _archive_values(self, night):
        """Common part of an archived order; None for the time columns."""
        rng = self.rng
        t = self.trip(night=night)
        deleted = rng.random() < 0.08
        taker = rng.choice(ON_SHIFT)
        driver = None
        if not deleted or rng.random() < 0.5:
            driver = rng.choice(self.drivers)
        description = t["description"]
        if deleted:
            description = "<%s> %s    %s" % (rng.choice(ON_SHIFT), rng.choice(DELETE_REASONS),
                                             description)
            jubilee = False
        else:
            jubilee = t["jubilee"]
            driver["executed"] += 1
        paid = 0.0
        if not deleted and t["client"] and t["balance"] >= t["price"] > 0 and rng.random() < 0.3:
            paid = t["price"]
        return t, deleted, taker, driver, description, jubilee, paid

    def working_day_start(self):
        """The last roll call: today's when it is past, else yesterday's."""
        return ("DATEADD(%d + IIF(%s > CAST('%s' AS TIME), 0, -1440) MINUTE TO "
                "CAST(%s AS TIMESTAMP))" % (self.roll_call_minutes, NOW["time"], self.roll_call,
                                            NOW["date"]))

    def day_before_working_day(self, days):
        """A date counted back from the working day's first day (0: that day), so that the
        previous days' orders stay out of the working day also before the roll call."""
        first = "CAST(%s AS DATE)" % self.working_day_start()
        return first if days == 0 else "DATEADD(%d DAY TO %s)" % (-days, first)

    def archive(self):
        a = self.args
        rng = self.rng
        self.comment("Archive: executed (1) and deleted (-1) orders of the previous %d days"
                     % a.past_days)
        rows = []
        for _ in range(a.past_orders if a.past_days > 0 else 0):
            days_ago = rng.randint(1, a.past_days)
            seconds = int(rng.triangular(6 * 3600, 23.9 * 3600, 17 * 3600))
            rows.append((days_ago, seconds))
        rows.sort(key=lambda r: (-r[0], r[1]))
        for days_ago, seconds in rows:
            hour = seconds // 3600
            t, deleted, taker, driver, description, jubilee, paid = self._archive_values(
                night=hour >= 22 or hour < 6)
            close = seconds + (rng.randint(2, 10) * 60 if deleted else t["minutes"] * 60)
            close_days = days_ago - close // 86400
            accepted_by_driver = seconds + rng.randint(1, 4) * 60
            values = ["GEN_ID(GENIDZAMOVL, 1)", sql_int(t["client"]), q(description),
                      q(t["start"]), q(t["dest"]), money(t["balance"]),
                      money(t["price"]), money(paid), q(taker),
                      q(rng.choice(ON_SHIFT)) if driver else "NULL",
                      self.day_before_working_day(days_ago), q(hms(seconds)),
                      self.day_before_working_day(close_days), q(hms(close)),
                      q(hms(accepted_by_driver)[:5]) if driver else "NULL",
                      sql_int(driver["callsign"]) if driver else "NULL",
                      q(driver["name"]) if driver else "NULL",
                      q("TAK" if jubilee else "HI"), "-1" if deleted else "1"]
            self.out(insert("CLOSEZAMOVLENNIA", self.CZ_COLUMNS, values))
        self.out("")
        self.comment("Archive: orders of the current working day (since the roll call at %s)"
                     % self.roll_call)
        # T.TS lies between the last roll call and now: a fraction of the time elapsed.
        start = self.working_day_start()
        fractions = sorted(rng.uniform(0.003, 0.985) for _ in range(a.period_orders))
        for fraction in fractions:
            t, deleted, taker, driver, description, jubilee, paid = self._archive_values(
                night=rng.random() < 0.1)
            source = ("(SELECT DATEADD(CAST(%.5f * DATEDIFF(SECOND FROM W.S TO "
                      "%s) AS INTEGER) SECOND TO W.S) AS TS FROM "
                      "(SELECT %s AS S FROM RDB$DATABASE) W) T" % (fraction, NOW["timestamp"], start))
            close_minutes = rng.randint(2, 10) if deleted else t["minutes"]
            close = "MINVALUE(DATEADD(%d MINUTE TO T.TS), %s)" % (close_minutes, NOW["timestamp"])
            by_driver = "MINVALUE(DATEADD(%d MINUTE TO T.TS), %s)" % (
                rng.randint(1, 4), NOW["timestamp"])
            values = ["GEN_ID(GENIDZAMOVL, 1)", sql_int(t["client"]), q(description),
                      q(t["start"]), q(t["dest"]), money(t["balance"]),
                      money(t["price"]), money(paid), q(taker),
                      q(rng.choice(ON_SHIFT)) if driver else "NULL",
                      ts_date("T.TS"), ts_time("T.TS"), ts_date(close), ts_time(close),
                      ts_text(by_driver, 5) if driver else "NULL",
                      sql_int(driver["callsign"]) if driver else "NULL",
                      q(driver["name"]) if driver else "NULL",
                      q("TAK" if jubilee else "HI"), "-1" if deleted else "1"]
            self.out(insert_select("CLOSEZAMOVLENNIA", self.CZ_COLUMNS, values, source))
        self.out("")
        # Cars come after the archive so that their order counters include it.
        self.comment("Cars (one row per callsign and driver)")
        for d in self.drivers:
            c = d["car"]
            self.out(insert("DANI_AVTO", ["TABL_AVTO_POZIVN", "TABL_AVTO_NOM_VODIY",
                                          "TABL_AVTO_NOMERAVTO", "TABL_AVTO_MODEL",
                                          "TABL_AVTO_KOLIR", "TABL_AVTO_KUZOV",
                                          "TABL_AVTO_KILPASAZHIR", "TABL_AVTO_VAGA",
                                          "TABL_AVTO_OBEM", "TABL_AVTO_RIK", "TABL_AVTO_VIN",
                                          "TABL_AVTO_KILVIKLIK"],
                            [sql_int(d["callsign"]), sql_int(d["number"]), q(c["plate"]),
                             q(c["model"]), q(c["colour"]), q(c["body"]), sql_int(c["seats"]),
                             sql_int(c["load"]), sql_int(c["cc"]), sql_int(c["year"]),
                             q(c["vin"]), sql_int(d["history"] + d["executed"])]))
        self.out("")

    def black_list(self):
        rng = self.rng
        a = self.args
        by_callsign = {}
        for d in self.drivers:
            by_callsign.setdefault(d["callsign"], []).append(d)
        singles = [c for c, ds in by_callsign.items() if len(ds) == 1]
        # The banned callsign is kept off air; the lifted entry belongs to someone on air.
        self.banned = singles[-1] if singles else None
        free = [c for c in by_callsign if c != self.banned]
        rng.shuffle(free)
        n_air = min(a.on_air, len(free))
        self.on_air_callsigns = free[:n_air]
        lifted = self.on_air_callsigns[0] if self.on_air_callsigns else None
        self.comment("Black list: one entry in force, one lifted")
        cols = ["BL_VODIY_NOMER", "BL_AVTO_POZIVN", "BL_DATATIME", "BL_AVTOR", "BL_TEXT",
                "BL_STATUS"]
        number = 0
        if lifted is not None:
            number += 1
            self.out(insert("BL_VODII", cols, [
                sql_int(number), sql_int(lifted), now_plus(-9, "DAY"),
                q(ON_SHIFT[0]), q("Грубість з клієнтом (скарга від 12.03), знято після пояснення"),
                "0"]))
        if self.banned is not None:
            number += 1
            self.out(insert("BL_VODII", cols, [
                sql_int(number), sql_int(self.banned), now_plus(-2, "DAY"),
                q(ON_SHIFT[1]), q("Не здав виручку за зміну, до з'ясування"), "1"]))
        self.out("")

    def on_air(self):
        rng = self.rng
        a = self.args
        callsigns = self.on_air_callsigns
        n = len(callsigns)
        n_gprs = n // 2
        gprs = set(rng.sample(callsigns, n_gprs))
        engaged_default = max(1, n // 10) if n else 0
        n_engaged = min(n, a.engaged if a.engaged is not None else engaged_default,
                        max(0, a.open_orders - 1))
        n_zero = min(n - n_engaged, max(1, round(n * 0.08))) if n > n_engaged else 0
        # Engaged drivers: GPRS ones first so the GPRS actions can tell about their orders.
        ordered = sorted(callsigns, key=lambda c: (c not in gprs, rng.random()))
        self.engaged = ordered[:n_engaged]
        rest = [c for c in callsigns if c not in self.engaged]
        zero = rest[:n_zero]
        at_stands = rest[n_zero:]
        self.gprs = gprs
        self.driver_of = {}
        for c in callsigns:
            self.driver_of[c] = next(d for d in self.drivers if d["callsign"] == c)
        # Stands nearer the middle get more drivers.
        weights = [1.0 / (1.0 + math.hypot(s.x - 2000, s.y - 1300) / 800.0)
                   for s in self.city.stands]
        queues = {}
        self.free_on_air = []
        self.on_air_minutes = {}
        for c in at_stands:
            stand = rng.choices(self.city.stands, weights=weights)[0]
            queues.setdefault(stand.label, []).append(c)
        if zero:
            queues["[]{}"] = zero
        self.comment("Drivers on air: at stands (queue keys 0001...), at the zero stand")
        for place, members in queues.items():
            # Whoever came first waits first in the queue.
            minutes = sorted((rng.randint(5, 300) for _ in members), reverse=True)
            for position, (c, waited) in enumerate(zip(members, minutes), start=1):
                self.on_air_minutes[c] = waited
                self.out(self._on_air_row(c, place, "%04d" % position, self.on_air_minutes[c]))
                self.free_on_air.append((c, place))
        self.out("")

    ZAD_COLUMNS = ["ZAD_AVTO_POZIVNIY", "ZAD_AVTO_FIO_VODIY", "ZAD_AVTO_RAYON",
                   "ZAD_AVTO_MARKA_AVTO", "ZAD_AVTO_KOLIR_AVTO", "ZAD_AVTO_KUZOV_AVTO",
                   "ZAD_AVTO_KIL_PASAGHIR", "ZAD_AVTO_VAGA", "ZAD_AVTO_CHAS_ZAMOVL",
                   "ZAD_AVTO_VULICA", "ZAD_AVTO_ZADIANIST", "ZAD_AVTO_NOMER_ZAMOVL",
                   "ZAD_AVTO_YUVILEYKA", "ZAD_AVTO_RIBA"]

    def _marks(self, d):
        """Jubilee and refusal marks as the put-on-air copies them from the archive."""
        who = "C.CZ_POZIVNIY = %d AND C.CZ_FIO_TAXI = %s" % (d["callsign"], q(d["name"]))
        jubilee = ("(SELECT MAX(C.CZ_DATA_PRIYOMA + C.CZ_CHAS_PRIYOMA) FROM CLOSEZAMOVLENNIA C "
                   "WHERE C.CZ_BEZKOSHTOVN = 'TAK' AND C.CZ_STATUS_ZAMOVL = 1 AND %s)" % who)
        refusal = ("(SELECT MAX(C.CZ_DATA_PRIYOMA + C.CZ_CHAS_PRIYOMA) FROM CLOSEZAMOVLENNIA C "
                   "WHERE C.CZ_STATUS_ZAMOVL = -1 AND %s)" % who)
        return jubilee, refusal

    def _on_air_row(self, c, place, key, minutes_on_air):
        d = self.driver_of[c]
        car = d["car"]
        model = ("{GPRS}" if c in self.gprs else "") + car["model"]
        jubilee, refusal = self._marks(d)
        values = [sql_int(c), q(d["name"]), on_air_text("T.TS"), q(model), q(car["colour"]),
                  q(car["body"]), sql_int(car["seats"]), sql_int(car["load"]), q(key), q(place),
                  "0", "0", jubilee, refusal]
        return insert_select("ZADIANI_AVTO", self.ZAD_COLUMNS, values, moment(-minutes_on_air))

    ZAM_COLUMNS = ["ZAMOVL_NUMBER", "ZAMOVL_NOMER_KLIENT", "ZAMOVL_PRICHINA_DELETE",
                   "ZAMOVL_POCHAT_PUNKT", "ZAMOVL_PUNKT_PRIZHACH", "ZAMOVL_BALANS_KLIENTA",
                   "ZAMOVL_SUMA_ROZRAHUNK", "ZAMOVL_PRIYOM_ZAMOVL", "ZAMOVL_DATA_PRIYOMA",
                   "ZAMOVL_CHAS_PRIYOMA", "ZAMOVL_BEZKOSHTOVN", "ZAMOVL_STATUS_ZAMOVL",
                   "ZAMOVL_DATA_ZAKR_ZAMOVL", "ZAMOVL_CHAS_ZAKR_ZAMOVL"]

    def _open_order(self, t, when_source, extra_columns=(), extra_values=()):
        finish = "DATEADD(%d MINUTE TO T.TS)" % t["minutes"]
        values = ["GEN_ID(GENIDZAMOVL, 1)", sql_int(t["client"]), q(t["description"]),
                  q(t["start"]), q(t["dest"]), money(t["balance"]), money(t["price"]),
                  q(self.rng.choice(ON_SHIFT)), ts_date("T.TS"), ts_time("T.TS"),
                  q("TAK" if t["jubilee"] else "HI"), "0", ts_date(finish), ts_time(finish)]
        return insert_select("ZAMOVLENNIA", self.ZAM_COLUMNS + list(extra_columns),
                             values + list(extra_values), when_source)

    def open_orders(self):
        rng = self.rng
        a = self.args
        self.comment("Open orders handed to drivers, and those drivers on air, engaged")
        self.handed_ago = {}
        for c in self.engaged:
            d = self.driver_of[c]
            t = self.trip()
            while not t["dest"] or "]{" not in t["dest"]:
                t = self.trip()
            # Taken some minutes ago, handed out soon after, still on the way.
            ago = rng.randint(8, 20)
            handed = rng.randint(1, 3)
            t["minutes"] = max(t["minutes"], ago + rng.randint(4, 12))
            self.handed_ago[c] = ago - handed
            took = "DATEADD(%d MINUTE TO T.TS)" % handed
            self.out(self._open_order(
                t, moment(-ago),
                ["ZAMOVL_ROZDACHA_ZAMOVL", "ZAMOVL_CHAS_PRIYOM_VODIY", "ZAMOVL_POZIVNIY",
                 "ZAMOVL_FIO_TAXI"],
                [q(rng.choice(ON_SHIFT)), ts_text(took, 5), sql_int(c), q(d["name"])]))
            # The driver's row takes its order's number and times from the order itself.
            place = t["dest"][:t["dest"].index("}") + 1]
            car = d["car"]
            model = ("{GPRS}" if c in self.gprs else "") + car["model"]
            jubilee, refusal = self._marks(d)
            values = [sql_int(c), q(d["name"]), on_air_text(
                now_plus(-rng.randint(40, 300), "MINUTE")),
                q(model), q(car["colour"]), q(car["body"]), sql_int(car["seats"]),
                sql_int(car["load"]),
                "SUBSTRING(CAST(Z.ZAMOVL_CHAS_PRIYOMA AS VARCHAR(13)) FROM 1 FOR 8)",
                q(place), "1", "Z.ZAMOVL_NUMBER", jubilee, refusal]
            self.out(insert_select(
                "ZADIANI_AVTO", self.ZAD_COLUMNS + ["ZAD_AVTO_CHAS_PRIBUTTIA"],
                values + ["Z.ZAMOVL_CHAS_ZAKR_ZAMOVL"],
                "ZAMOVLENNIA Z WHERE Z.ZAMOVL_STATUS_ZAMOVL = 0 AND Z.ZAMOVL_POZIVNIY = %d" % c))
        self.out("")
        self.comment("Open orders not yet handed out: hot, upcoming and preliminary")
        n_rest = max(0, a.open_orders - len(self.engaged))
        n_prelim = min(n_rest, max(1, n_rest // 20))
        for i in range(n_rest):
            if i == 0 and n_prelim:
                # Booked for half past the hour, some three hours ahead.
                t = self.trip(preliminary=True)
                source = ("(SELECT DATEADD((EXTRACT(HOUR FROM %s) + %d) * 60 + 30 "
                          "MINUTE TO CAST(%s AS TIMESTAMP)) AS TS FROM RDB$DATABASE) T"
                          % (NOW["time"], rng.randint(3, 4), NOW["date"]))
            elif i < n_prelim:
                t = self.trip(preliminary=True)
                source = moment(rng.randint(90, 20 * 60))
            else:
                roll = rng.random()
                if roll < 0.4:
                    offset, preliminary = -rng.randint(6, 35), False     # overdue
                elif roll < 0.75:
                    offset, preliminary = -rng.randint(0, 4), False      # just taken
                else:
                    offset, preliminary = rng.randint(5, 25), True       # within the lead time
                t = self.trip(preliminary=preliminary)
                source = moment(offset)
            self.out(self._open_order(t, source))
        self.out("")

    def gprs_rows(self):
        self.comment("GPRS refresh rows, one per callsign")
        callsigns = []
        for d in self.drivers:
            if d["callsign"] not in callsigns:
                callsigns.append(d["callsign"])
        for c in sorted(callsigns):
            if c in self.engaged:
                nz = ("(SELECT MAX(ZAMOVL_NUMBER) FROM ZAMOVLENNIA WHERE ZAMOVL_STATUS_ZAMOVL = 0 "
                      "AND ZAMOVL_POZIVNIY = %d)" % c)
                self.out(insert_select(
                    "REFLESH_DANI_VODIY_GPRS", ["REFLESH_VODIY_POZ", "REFLESH_VODIY_ZAMOV",
                                                "REFLESH_VODIY_DATETIME", "REFLESH_VODIY_NZ"],
                    [sql_int(c), q("+"), "T.TS", nz], moment(-self.handed_ago[c])))
            else:
                self.out(insert("REFLESH_DANI_VODIY_GPRS",
                                ["REFLESH_VODIY_POZ", "REFLESH_VODIY_ZAMOV",
                                 "REFLESH_VODIY_DATETIME", "REFLESH_VODIY_NZ"],
                                [sql_int(c), q("-"), "NULL", "0"]))
        self.out("")

    def messages(self):
        rng = self.rng
        a = self.args
        self.comment("Actions reported by GPRS drivers")
        gprs_free = [(c, place) for c, place in self.free_on_air if c in self.gprs]
        gprs_busy = [c for c in self.engaged if c in self.gprs]
        actions = []   # (minutes ago, callsign, text, order number expression)
        for c, place in gprs_free[:max(0, a.gprs_actions)]:
            when = self.on_air_minutes[c]
            actions.append((when, c, GPRS_ACTIONS[0], "0"))
            if place != "[]{}" and when > 1:
                actions.append((when - 1, c, GPRS_ACTIONS[1].format(stand=place), "0"))
        for c in gprs_busy[:2]:
            nz = ("(SELECT MAX(ZAMOVL_NUMBER) FROM ZAMOVLENNIA WHERE ZAMOVL_STATUS_ZAMOVL = 0 "
                  "AND ZAMOVL_POZIVNIY = %d)" % c)
            handed = self.handed_ago[c]
            actions.append((handed, c, GPRS_ACTIONS[2], nz))
            if handed > 2:
                actions.append((handed // 2, c, GPRS_ACTIONS[3], nz))
        actions.sort(key=lambda x: -x[0])
        actions = actions[len(actions) - max(a.gprs_actions, 0):] if a.gprs_actions > 0 else []
        for number, (ago, c, text, nz) in enumerate(actions, start=1):
            self.out(insert("DYA_VODIY_GPRS", ["DYA_VODIY_GPRS_NP", "DYA_VODIY_GPRS_DATATIME",
                                               "DYA_VODIY_GPRS_DYA", "DYA_VODIY_GPRS_NZ",
                                               "DYA_VODIY_GPRS_POZ"],
                            [sql_int(number), now_plus(-ago, "MINUTE"),
                             q(text), nz, sql_int(c)]))
        self.out("")
        self.comment("Messages to drivers (numbered from 0)")
        free = [c for c, place in self.free_on_air if c in self.gprs and place != "[]{}"]
        targets = [(c, DRIVER_MSG_TEMPLATES[i]) for c, i in zip(free[:2], (0, 3))]
        targets += [(c, DRIVER_MSG_TEMPLATES[1]) for c in self.engaged[:1]]
        for number, (c, text) in enumerate(targets):
            d = self.driver_of[c]
            self.out(insert("MSG_FOR_VODIY", ["MSG_FOR_VODIY_NP", "MSG_FOR_VODIY_DCREATE",
                                              "MSG_FOR_VODIY_STATUS", "MSG_FOR_VODIY_POZ",
                                              "MSG_FOR_VODIY_FIO", "MSG_FOR_VODIY_TEXT",
                                              "MSG_FOR_VODIY_AVTOR"],
                            [sql_int(number),
                             now_plus(-(90 - 40 * number), "MINUTE"),
                             q("D"), sql_int(c), q(d["name"]), q(text), q(ON_SHIFT[number % 2])]))
        self.out("")
        self.comment("Messages between dispatchers")
        notes = [(ON_SHIFT[1], 240, "Зміну прийняла. На вул. Мостова ремонт до п'ятниці, "
                                    "замовлення з Заріччя веземо через вул. Зарічна."),
                 (ON_SHIFT[0], 45, DISP_MSG_TEMPLATES[3])]
        for number, (author, ago, text) in enumerate(notes, start=1):
            self.out(insert("MSG_FOR_DISP", ["MSG_FOR_DISP_NP", "MSG_FOR_DISP_DATA",
                                             "MSG_FOR_DISP_FIO", "MSG_FOR_DISP_TEXT"],
                            [sql_int(number), now_plus(-ago, "MINUTE"),
                             q(author), q(text)]))
        self.out("")


def main(argv=None):
    parser = argparse.ArgumentParser(
        description="Write the demo city of the dispatch database as an SQL script of INSERTs.")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--stands", type=int, default=12)
    parser.add_argument("--points", type=int, default=300, help="map points in all")
    parser.add_argument("--streets", type=int, default=None,
                        help="streets (default: 1.3 x square root of the points)")
    parser.add_argument("--objects", type=int, default=None,
                        help="named objects on the map (default: points / 30)")
    parser.add_argument("--drivers", type=int, default=30)
    parser.add_argument("--on-air", type=int, default=12)
    parser.add_argument("--engaged", type=int, default=None,
                        help="drivers on air carrying an order (default: a tenth, at least 1)")
    parser.add_argument("--open-orders", type=int, default=8)
    parser.add_argument("--period-orders", type=int, default=60,
                        help="archived orders of the current working day")
    parser.add_argument("--past-orders", type=int, default=45,
                        help="archived orders of the previous days")
    parser.add_argument("--past-days", type=int, default=3)
    parser.add_argument("--clients", type=int, default=40)
    parser.add_argument("--gprs-actions", type=int, default=10)
    parser.add_argument("--one-way-share", type=float, default=0.0,
                        help="share of the passages between crossing streets that are one-way "
                             "(default: two in the centre)")
    parser.add_argument("--roll-call", default="07:00", help="roll call of the cars, hh:mm")
    parser.add_argument("--now", default=None,
                        help="fixed moment 'yyyy-mm-dd hh:mm:ss' the dates and times are relative "
                             "to (default: the moment the script is loaded)")
    parser.add_argument("-o", "--output", default="-", help="file to write (default: stdout)")
    args = parser.parse_args(argv)
    if args.drivers < 2 or args.stands < 1 or args.on_air > args.drivers:
        parser.error("need at least 2 drivers, 1 stand, and no more drivers on air than drivers")
    if args.now is not None:
        if not re.fullmatch(r"\d{4}-\d\d-\d\d \d\d:\d\d:\d\d", args.now):
            parser.error("--now wants 'yyyy-mm-dd hh:mm:ss'")
        fix_now(args.now)
    text = Generator(args).run()
    if args.output == "-":
        sys.stdout.write(text)
    else:
        with open(args.output, "w", encoding="utf-8", newline="\n") as f:
            f.write(text)


if __name__ == "__main__":
    main()
