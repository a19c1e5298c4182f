#!/usr/bin/env python3
"""Writes resources/sample/sample-family.ged, the sample tree a newcomer sees on the first run.

A fictional Arabic family over ten generations, from the early twelfth Hijri century to today: the line of
the founder under the family group, a branch (a group of its own) whose link to the founder is not known, an
in-law family from Damascus, wives who married in, several wives for some men, one divorce with the
divorced wife's second marriage, a breastfeeding mother and breastfeeding siblings.

The output depends on nothing but this script: a fixed seed drives every choice, so running it again gives
the same file byte for byte. Run it after every change and commit both files:

    python3 scripts/make_sample_tree.py

With --check it writes nothing and fails when the committed file differs from what the script gives.

Conventions the import understands beyond standard GEDCOM 5.5.1:
    1 _GROUP Y / 2 TYPE kind        an individual that stands for a named branch (a group); the members are
                                    the children of a family whose husband is the group
    1 ASSO @I../ 2 RELA Breastfeeding mother    on a nursed child, pointing to the woman who nursed it
    1 ASSO @I../ 2 RELA Breastfeeding sibling   on a breastfeeding sibling, pointing to the other one
Older dates are Hijri (@#DHIJRI@ with the month names MUHAR .. DHUAH), later ones Gregorian.
"""

import random
import sys
from dataclasses import dataclass, field
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
OUTPUT = ROOT / "resources" / "sample" / "sample-family.ged"
SEED = 1445
TODAY = (2024, 6, 1)

# ---------------------------------------------------------------------------------------------------------
# Calendars: Julian day numbers, the Gregorian calendar and the tabular Hijri calendar (civil epoch), the
# same arithmetic the program converts with.

def gregorian_jd(y, m, d):
    a = (14 - m) // 12
    yy = y + 4800 - a
    mm = m + 12 * a - 3
    return d + (153 * mm + 2) // 5 + 365 * yy + yy // 4 - yy // 100 + yy // 400 - 32045


def jd_gregorian(jd):
    a = jd + 32044
    b = (4 * a + 3) // 146097
    c = a - 146097 * b // 4
    d = (4 * c + 3) // 1461
    e = c - 1461 * d // 4
    m = (5 * e + 2) // 153
    return 100 * b + d - 4800 + m // 10, m + 3 - 12 * (m // 10), e - (153 * m + 2) // 5 + 1


def hijri_jd(y, m, d):
    return (11 * y + 3) // 30 + 354 * y + 30 * m - (m - 1) // 2 + d + 1948055


def jd_hijri(jd):
    l = jd - 1937808
    n = (l - 1) // 10631
    l = l - 10631 * n + 354
    j = ((10985 - l) // 5316) * ((50 * l) // 17719) + (l // 5670) * ((43 * l) // 15238)
    l = l - ((30 - j) // 15) * ((17719 * j) // 50) - (j // 16) * ((15238 * j) // 43) + 29
    m = (24 * l) // 709
    return 30 * n + j - 30, m, l - (709 * m) // 24


HIJRI_MONTHS = ["MUHAR", "SAFAR", "RABIA", "RABIT", "JUMAA", "JUMAT",
                "RAJAB", "SHAAB", "RAMAD", "SHAWW", "DHUAQ", "DHUAH"]
GREGORIAN_MONTHS = ["JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"]
YEAR = 365.2425
TODAY_JD = gregorian_jd(*TODAY)


def year_of(jd):
    return jd_gregorian(jd)[0]


def days(years):
    return int(round(years * YEAR))


@dataclass
class Date:
    jd: int
    precision: str  # "year", "month" or "day"
    hijri: bool
    about: bool = False

    def gedcom(self):
        if self.hijri:
            y, m, d = jd_hijri(self.jd)
            months, escape = HIJRI_MONTHS, "@#DHIJRI@ "
        else:
            y, m, d = jd_gregorian(self.jd)
            months, escape = GREGORIAN_MONTHS, ""
        text = str(y)
        if self.precision != "year":
            text = months[m - 1] + " " + text
        if self.precision == "day":
            text = f"{d} {text}"
        return ("ABT " if self.about else "") + escape + text


# ---------------------------------------------------------------------------------------------------------
# Names, places and words.

MALE_OLD = ["محمد", "أحمد", "عبد الله", "عبد الرحمن", "إبراهيم", "إسماعيل", "يوسف", "سليمان", "صالح",
            "سالم", "منصور", "ناصر", "عثمان", "علي", "حسن", "حسين", "حمزة", "زيد", "سعد", "سعيد", "عمر",
            "مصطفى", "راشد", "هاشم", "يحيى", "عيسى", "موسى", "داود", "عبد الكريم", "عبد اللطيف",
            "عبد الوهاب", "جابر", "مالك", "حمد", "مبارك", "عامر", "عبد العزيز", "إدريس", "شاكر", "طاهر"]
MALE_NEW = ["محمد", "أحمد", "عبد الله", "خالد", "فهد", "فيصل", "سلطان", "ماجد", "طارق", "بدر", "عمر",
            "يوسف", "أنس", "بلال", "زياد", "هشام", "وليد", "سامي", "نزار", "مازن", "عمّار", "معاذ",
            "ريّان", "يزن", "كريم", "حمزة", "إياد", "ليث", "مهند", "باسل"]
FEMALE_OLD = ["فاطمة", "عائشة", "خديجة", "مريم", "زينب", "رقية", "حفصة", "صفية", "آمنة", "حليمة",
              "نورة", "سارة", "هند", "سلمى", "لطيفة", "منيرة", "موضي", "هيا", "شيخة", "لولوة", "رحمة",
              "سكينة", "أسماء", "جميلة", "وضحى", "حصة", "بدرية", "نفيسة", "رابعة", "أمينة"]
FEMALE_NEW = ["نوال", "هدى", "ريم", "دانة", "لينا", "رنا", "جنى", "سمر", "منى", "رغد", "أروى",
              "شهد", "لمى", "ديما", "غادة", "نسرين", "ياسمين", "سلمى", "مريم", "هيفاء", "عبير", "رهف"]
OUTSIDE_FAMILIES = ["العتيبي", "الحربي", "الجهني", "الشمري", "القرشي", "الأنصاري", "الخطيب", "البيطار",
                    "الحسيني", "الزعبي", "المدني", "الصبّاغ", "الكيلاني", "الدوسري", "السقّاف"]
TITLES_OLD = ["الشيخ", "القاضي", "الحاج", "المطوّع", "الفقيه", "الكاتب", "التاجر", "المؤذّن"]
TITLES_NEW = ["الدكتور", "المهندس", "الأستاذ", "الحاج", "الشيخ"]

TOWNS = {
    "hijaz": ["ينبع", "المدينة المنورة", "مكة المكرمة", "جدة", "الطائف"],
    "najd": ["حائل", "بريدة", "عنيزة", "الرياض"],
    "sham": ["دمشق", "حمص", "حلب", "نابلس", "عمّان", "إربد", "القدس", "بيروت"],
    "gulf": ["الكويت", "الأحساء", "الدمام", "الدوحة"],
}
MODERN_CITIES = ["الرياض", "جدة", "عمّان", "دمشق", "الكويت", "الدمام", "المدينة المنورة", "الدوحة"]

NOTES_OLD = [
    "كان يتاجر في التمر والقماش بين ينبع والمدينة.",
    "حفظ القرآن صغيرًا، وكان يؤمّ الناس في مسجد الحي.",
    "عُرف بالكرم وإصلاح ذات البين.",
    "كان يكتب العقود والوصايا لأهل بلده.",
    "خرج مع قوافل الحج مرات عدة.",
    "نسخ بيده كتبًا ما زالت عند أحفاده.",
    "كانت له بئر ونخل يُعرف باسمه.",
]
NOTES_NEW = [
    "درس في دمشق ثم عاد إلى بلده معلّمًا.",
    "عمل في التجارة وفتح متجرًا في السوق القديم.",
    "يعمل مهندسًا.",
    "تعمل معلّمة.",
    "يحفظ أخبار العائلة ويجمع وثائقها.",
    "طبيب في المستشفى العام.",
]


@dataclass
class Family:
    xref: str
    husband: "Person" = None
    wife: "Person" = None
    children: list = field(default_factory=list)
    married: Date = None
    place: str = ""
    divorced: Date = None
    note: str = ""


@dataclass
class Person:
    xref: str
    sex: str
    given: str
    surname: str = ""
    gen: int = 0
    branch: str = ""
    birth: Date = None
    birth_place: str = ""
    death: Date = None
    death_place: str = ""
    death_unknown: bool = False  # dead, but the file gives no date (the simulation still knows one)
    home: str = ""
    nick: str = ""
    title: str = ""
    notes: list = field(default_factory=list)
    famc: Family = None
    fams: list = field(default_factory=list)
    group_type: str = ""
    asso: list = field(default_factory=list)

    def alive_at(self, jd):
        return self.death is None or self.death.jd >= jd

    def death_after(self, jd):
        return self.death is None or self.death.jd > jd

    def age_at(self, jd):
        return (jd - self.birth.jd) / YEAR


class Tree:
    def __init__(self):
        self.rng = random.Random(SEED)
        self.persons = []
        self.families = []

    # -- records ------------------------------------------------------------------------------------------

    def person(self, sex, given, **fields):
        p = Person(f"I{len(self.persons) + 1}", sex, given, **fields)
        self.persons.append(p)
        return p

    def family(self, husband, wife=None, married=None, place=""):
        f = Family(f"F{len(self.families) + 1}", husband, wife, married=married, place=place)
        self.families.append(f)
        husband.fams.append(f)
        if wife:
            wife.fams.append(f)
        return f

    def group(self, name, kind, note, parent=None):
        g = self.person("", name, group_type=kind, notes=[note])
        g.members = self.family(g)
        if parent:
            self.add_child(parent.members, g)
        return g

    @staticmethod
    def add_child(family, child):
        family.children.append(child)
        child.famc = family

    # -- dates --------------------------------------------------------------------------------------------

    def date(self, jd, hijri=None):
        y = year_of(jd)
        if hijri is None:
            hijri = y < 1880 or (y < 1940 and self.rng.random() < 0.5)
        if y < 1800:
            precision = self.rng.choices(["year", "month", "day"], [6, 2, 1])[0]
        elif y < 1900:
            precision = self.rng.choices(["year", "month", "day"], [2, 3, 3])[0]
        else:
            precision = "day" if self.rng.random() < 0.9 else "month"
        return Date(jd, precision, hijri)

    def lifespan(self):
        if self.rng.random() < 0.06:
            return days(self.rng.uniform(0.2, 6)), True
        return days(self.rng.uniform(48, 92)), False

    def born(self, p, jd, place, hijri=None, adult=False):
        p.birth = self.date(jd, hijri)
        p.birth_place = place
        p.home = place
        span, young = self.lifespan()
        if adult and young:
            span, young = days(self.rng.uniform(48, 92)), False
        end = jd + span
        if end < TODAY_JD:
            p.death = self.date(end)
            p.death_place = place
            p.death_unknown = year_of(end) < 1850 and self.rng.random() < 0.3
            if young:
                p.notes.append("توفيت صغيرة." if p.sex == "F" else "توفي صغيرًا.")
        return p

    # -- names --------------------------------------------------------------------------------------------

    def given_name(self, sex, year, avoid):
        if sex == "M":
            pool = MALE_OLD if year < 1950 else MALE_NEW + MALE_OLD[:10]
        else:
            pool = FEMALE_OLD if year < 1950 else FEMALE_NEW + FEMALE_OLD[:8]
        choices = [n for n in pool if n not in avoid]
        return self.rng.choice(choices)

    # -- building -----------------------------------------------------------------------------------------

    def outside_wife(self, husband, jd):
        surname = self.rng.choice(OUTSIDE_FAMILIES)
        birth = jd - days(self.rng.uniform(16, 24))
        w = self.person("F", self.given_name("F", year_of(birth), set()), surname=surname, gen=husband.gen)
        place = husband.home if self.rng.random() < 0.7 else self.rng.choice(TOWNS[self.region(husband.home)])
        self.born(w, birth, place, adult=True)
        if w.death and w.death.jd < jd + days(8):
            w.death.jd = jd + days(self.rng.uniform(8, 30))
            if w.death.jd >= TODAY_JD:
                w.death = None
        return w

    @staticmethod
    def region(town):
        for region, towns in TOWNS.items():
            if town in towns:
                return region
        return "hijaz"

    def children_of(self, fam, start, end, count, surname, force_son):
        father = fam.husband
        jd = start + days(self.rng.uniform(0.8, 2.0))
        used = {father.given} | {c.given for f in father.fams for c in f.children}
        for _ in range(count):
            if jd > end or jd > TODAY_JD - days(1):
                break
            sex = "M" if self.rng.random() < 0.55 or (force_son and not fam.children) else "F"
            grandfather = father.famc.husband if father.famc and father.famc.husband else None
            y = year_of(jd)
            if (sex == "M" and grandfather and not grandfather.group_type and grandfather.given not in used
                    and not any(c.sex == "M" for c in fam.children) and self.rng.random() < 0.5):
                name = grandfather.given
            else:
                name = self.given_name(sex, y, used)
            used.add(name)
            c = self.person(sex, name, surname=surname, gen=father.gen + 1, branch=father.branch)
            self.born(c, jd, father.home)
            self.add_child(fam, c)
            jd += days(self.rng.uniform(1.3, 3.5))

    def marry(self, man, wife, jd, children, force_son=False):
        fam = self.family(man, wife, self.date(jd) if self.rng.random() < 0.5 else None, man.home)
        if wife.death:
            wife.death_place = man.home
        end = min(man.death.jd if man.death else TODAY_JD, wife.death.jd if wife.death else TODAY_JD,
                  wife.birth.jd + days(44))
        self.children_of(fam, jd, end, children, man.surname, force_son)
        return fam

    def child_count(self, man):
        y = year_of(man.birth.jd)
        if y < 1800:
            return self.rng.choice([2, 3, 3, 4])
        if y < 1950:
            return self.rng.choice([2, 3, 4, 4, 5])
        return self.rng.choice([1, 2, 3, 3, 4])

    def wife_for(self, man, jd):
        # Now and then an unmarried cousin or a daughter of the in-law family of the right age, else a woman
        # from outside the tree.
        for w in self.persons:
            if (w.sex == "F" and not w.fams and w.famc and w.famc.husband is not man.famc.husband
                    and w.birth and w.alive_at(jd + days(10)) and 15 <= w.age_at(jd) <= 24
                    and w.famc.husband.branch in (man.branch, "nassar") and self.rng.random() < 0.35):
                return w
        return self.outside_wife(man, jd)

    def settle(self, man):
        # Some sons leave for another town; the move is told in their notes.
        if man.gen >= 3 and self.rng.random() < 0.25:
            y = year_of(man.birth.jd) + self.rng.randint(20, 30)
            if y < 2000:
                region = self.region(man.home)
                towns = MODERN_CITIES if y > 1950 else TOWNS[self.rng.choice([region, region, "sham", "gulf"])]
                town = self.rng.choice([t for t in towns if t != man.home])
                man.home = town
                when = (f"سنة {jd_hijri(gregorian_jd(y, 6, 1))[0]} هـ" if y < 1930 else f"سنة {y} م")
                man.notes.append(f"انتقل إلى {town} {when}.")

    def can_marry(self, man, limit_year):
        married = man.birth.jd + days(22)
        return (man.alive_at(married + days(3)) and year_of(married) <= limit_year
                and married < TODAY_JD - days(2))

    def descend(self, root, limit_year):
        """Marries the men of a line generation after generation; only a few of each generation carry the
        line on, which keeps the tree a few hundred persons."""
        generation = [root]
        while generation:
            candidates = [m for m in generation if self.can_marry(m, limit_year)]
            width = self.width[root.branch][min(generation[0].gen, 10)]
            carriers = candidates if len(candidates) <= width else self.rng.sample(candidates, width)
            carriers.sort(key=lambda p: p.birth.jd)
            for m in candidates:
                if m not in carriers and self.rng.random() < 0.5:
                    m.notes.append("لا عقب له.")
            generation = []
            for m in carriers:
                married = m.birth.jd + days(self.rng.uniform(20, 28))
                married = min(married, (m.death.jd if m.death else TODAY_JD) - days(2))
                self.settle(m)
                wife = self.wife_for(m, married)
                self.marry(m, wife, married, self.child_count(m), force_son=m is carriers[0])
                if year_of(m.birth.jd) < 1930 and self.rng.random() < 0.3:
                    later = married + days(self.rng.uniform(4, 15))
                    if m.alive_at(later + days(2)) and later < TODAY_JD - days(3):
                        self.marry(m, self.wife_for(m, later), later, self.rng.choice([1, 2, 3]))
                self.kunya(m)
                generation.extend(c for f in m.fams for c in f.children if c.sex == "M")

    def kunya(self, person):
        kids = [c for f in person.fams for c in f.children]
        sons = [c for c in kids if c.sex == "M"]
        if kids and self.rng.random() < 0.6:
            first = (sons or kids)[0]
            person.nick = ("أبو " if person.sex == "M" else "أم ") + first.given
        for f in person.fams:
            w = f.wife
            if w and not w.nick and self.rng.random() < 0.4:
                first = [c for c in f.children if c.sex == "M"]
                if first:
                    w.nick = "أم " + first[0].given

    def titles(self):
        for p in self.persons:
            grown = p.birth and (p.death is None or p.age_at(p.death.jd) > 30) and p.age_at(TODAY_JD) > 30
            if p.sex == "M" and grown and not p.title and self.rng.random() < 0.12:
                p.title = self.rng.choice(TITLES_OLD if year_of(p.birth.jd) < 1920 else TITLES_NEW)

    def notes(self):
        for p in self.persons:
            if not p.group_type and p.birth and self.rng.random() < 0.15:
                bank = NOTES_OLD if year_of(p.birth.jd) < 1930 else NOTES_NEW
                note = self.rng.choice([n for n in bank if ("تعمل" in n) == (p.sex == "F")] or bank)
                if note not in p.notes:
                    p.notes.append(note)


# ---------------------------------------------------------------------------------------------------------

def build():
    t = Tree()
    # How many men of each generation (the index) carry their line on, by branch.
    t.width = {
        "rayyan": [1, 1, 2, 3, 3, 4, 5, 5, 6, 6, 6],
        "hamadna": [1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2],
        "nassar": [1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2],
    }

    family = t.group("آل الريّان", "عائلة",
                     "عائلة من أهل الحجاز، أصلها من ينبع ثم سكنت المدينة المنورة،"
                     " وتفرّق بعض أبنائها في الشام والخليج.")
    founder = t.person("M", "ريّان", surname="الريّان", gen=1, branch="rayyan")
    t.add_child(family.members, founder)
    t.born(founder, hijri_jd(1130, 9, 1), "ينبع", hijri=True, adult=True)
    founder.birth.precision, founder.birth.about = "year", True
    founder.death = Date(hijri_jd(1195, 10, 12), "day", True)
    founder.death_unknown = False
    founder.death_place = "المدينة المنورة"
    founder.title = "الشيخ"
    founder.notes = ["جدّ العائلة الذي تُنسب إليه. نزل المدينة المنورة بعد سنة 1160 هـ،",
                     "وكان له فيها دكان في سوق العطّارين."]
    founder.home = "المدينة المنورة"

    hamadna = t.group("الحمادنة", "فخذ",
                      "فخذ من آل الريّان ينتسب إلى حمدان، ولم يُعرف موضع اتصاله بالجد ريّان.",
                      parent=family)
    hamdan = t.person("M", "حمدان", surname="الريّان", gen=3, branch="hamadna")
    t.add_child(hamadna.members, hamdan)
    t.born(hamdan, hijri_jd(1185, 3, 10), "حائل", hijri=True, adult=True)
    hamdan.birth.precision = "year"
    hamdan.notes = ["أول من عُرف من الحمادنة، سكن حائل ثم بريدة."]
    hamdan.home = "بريدة"

    nassar_group = t.group("آل نصّار", "بيت",
                           "بيت من أهل دمشق صاهر آل الريّان منذ القرن الثالث عشر الهجري.")
    nassar = t.person("M", "نصّار", surname="نصّار", gen=3, branch="nassar")
    t.add_child(nassar_group.members, nassar)
    t.born(nassar, hijri_jd(1190, 7, 1), "دمشق", hijri=True, adult=True)
    nassar.birth.precision = "year"

    t.descend(nassar, 1995)
    t.descend(founder, 2005)
    t.descend(hamdan, 2005)
    founder.nick = "أبو " + next(c.given for f in founder.fams for c in f.children if c.sex == "M")
    several_wives(t)
    divorce(t)
    breastfeeding(t)
    daughters_abroad(t)
    t.titles()
    t.notes()
    return t


def several_wives(t):
    # One man of the middle generations marries a third time, after the death of his first wife.
    for m in t.persons:
        if m.branch == "rayyan" and m.gen == 5 and len(m.fams) == 2 and m.alive_at(m.birth.jd + days(55)):
            first = m.fams[0].wife
            jd = max(f.children[-1].birth.jd for f in m.fams if f.children) + days(1.5)
            if first.death is None or first.death.jd > jd:
                first.death = Date(jd - days(0.5), "month", True)
                first.death_place = m.home
            if m.death and m.death.jd < jd + days(3):
                continue
            w = t.outside_wife(m, jd)
            t.marry(m, w, jd, 2)
            m.notes.append("تزوّج ثلاث مرات.")
            return
    raise SystemExit("no man for a third marriage")


def divorce(t):
    # A man of the later generations divorces his first wife; she marries again, into the Hamadna branch.
    for m in t.persons:
        if m.branch != "rayyan" or m.gen not in (6, 7) or not m.fams:
            continue
        fam = m.fams[0]
        wife = fam.wife
        if wife.famc or len(wife.fams) > 1 or not fam.children:
            continue
        split = fam.children[-1].birth.jd + days(1.2)
        if wife.age_at(split) > 35 or not wife.death_after(split + days(10)) or not m.death_after(split):
            continue
        for h in t.persons:
            if (h.branch == "hamadna" and h.sex == "M" and h.birth and h.death_after(split + days(10))
                    and h.age_at(split) > 22 and -3 <= h.age_at(split) - wife.age_at(split) <= 15):
                fam.divorced = Date(split, "month", year_of(split) < 1930)
                fam.note = "انتهى الزواج بالطلاق."
                t.marry(h, wife, split + days(0.8), 3)
                wife.notes.append(f"طُلّقت من {m.given} ثم تزوّجت {h.given} من الحمادنة.")
                t.kunya(h)
                if len(m.fams) == 1 and m.death_after(split + days(3)):
                    later = split + days(1)
                    t.marry(m, t.wife_for(m, later), later, 2)
                return
    raise SystemExit("no divorce could be placed")


def breastfeeding(t):
    # A child whose mother died soon after the birth is nursed by the wife of his uncle; her own child of
    # the same age becomes his breastfeeding sibling. A second pair: two cousins nursed together.
    placed = 0
    for x in sorted(t.persons, key=lambda p: p.birth.jd if p.birth else 0):
        if placed == 2 or not x.famc or not x.famc.wife or x.branch != "rayyan" or x.gen < 6 + placed:
            continue
        mother = x.famc.wife
        if placed == 0 and (len(mother.fams) > 1 or x is not x.famc.children[-1]):
            continue
        father = x.famc.husband
        uncles = [c for c in father.famc.children if c.sex == "M" and c is not father] if father.famc else []
        for uncle in uncles:
            for f in uncle.fams:
                nurse = f.wife
                same_age = [c for c in f.children if abs(c.birth.jd - x.birth.jd) < days(0.8)]
                if not same_age or nurse is x.famc.wife or not nurse.alive_at(x.birth.jd + days(2)):
                    continue
                sibling = same_age[0]
                x.asso.append((nurse, "Breastfeeding mother"))
                x.asso.append((sibling, "Breastfeeding sibling"))
                his = "ها" if x.sex == "F" else "ه"
                kin = ("أخو" if sibling.sex == "M" else "أخت") + his
                child = "ابنها" if sibling.sex == "M" else "ابنتها"
                x.notes.append(f"أرضعت{his} {nurse.given} زوجة عمّ{his} {uncle.given}،"
                               f" و{child} {sibling.given} {kin} من الرضاعة.")
                if placed == 0:
                    mother.death = Date(x.birth.jd + days(0.1), "month", year_of(x.birth.jd) < 1930)
                    mother.death_place = father.home
                    mother.death_unknown = False
                    mother.notes.append("توفيت بعد ولادة آخر أولادها بأيام.")
                placed += 1
                break
            else:
                continue
            break
    if placed < 2:
        raise SystemExit("breastfeeding relations could not be placed")


def daughters_abroad(t):
    # Two daughters marry men from outside the family; their children are recorded under the husbands.
    done = 0
    for d in t.persons:
        if (d.sex != "F" or d.fams or not d.famc or d.branch != "rayyan" or d.gen < 5
                or not d.birth or d.death and d.death.jd < d.birth.jd + days(40)):
            continue
        jd = d.birth.jd + days(t.rng.uniform(18, 23))
        if jd > TODAY_JD - days(8):
            continue
        surname = t.rng.choice(OUTSIDE_FAMILIES)
        h = t.person("M", t.given_name("M", year_of(jd), set()), surname=surname, gen=d.gen, branch="outside")
        t.born(h, jd - days(t.rng.uniform(24, 32)), d.home, adult=True)
        if h.death and h.death.jd < jd + days(12):
            h.death.jd = jd + days(t.rng.uniform(12, 40))
            h.death.jd = min(h.death.jd, TODAY_JD - days(1))
        t.marry(h, d, jd, 3)
        d.notes.append(f"تزوّجت من {h.given} {surname}.")
        t.kunya(d)
        done += 1
        if done == 2:
            return


# ---------------------------------------------------------------------------------------------------------

def check(t):
    """Stops on a date that a reader of the sample would find absurd."""
    problems = []
    for p in t.persons:
        if p.death and p.birth and p.death.jd < p.birth.jd:
            problems.append(f"{p.xref} dies before birth")
        f = p.famc
        if not f or not p.birth or f.husband.group_type:
            continue
        father, mother = f.husband, f.wife
        if father.age_at(p.birth.jd) < 17:
            problems.append(f"{p.xref} born to a father of {father.age_at(p.birth.jd):.0f}")
        if father.death and father.death.jd < p.birth.jd - days(0.8):
            problems.append(f"{p.xref} born after the father's death")
        if mother and not 15 <= mother.age_at(p.birth.jd) <= 46:
            problems.append(f"{p.xref} born to a mother of {mother.age_at(p.birth.jd):.0f}")
        if mother and mother.death and mother.death.jd < p.birth.jd:
            problems.append(f"{p.xref} born after the mother's death")
    for f in t.families:
        when = f.married.jd if f.married else None
        for spouse in (f.husband, f.wife):
            if when and spouse and spouse.death and spouse.death.jd < when:
                problems.append(f"{f.xref} married after a spouse's death")
    if problems:
        raise SystemExit("\n".join(problems))


def gedcom(t):
    out = []

    def line(level, tag, value=""):
        out.append(f"{level} {tag}" + (f" {value}" if value else ""))

    def note(level, text):
        parts = text.split("\n")
        line(level, "NOTE", parts[0])
        for part in parts[1:]:
            line(level + 1, "CONT", part)

    line(0, "HEAD")
    line(1, "SOUR", "VERDAN")
    line(2, "NAME", "Verdan sample tree")
    line(1, "DEST", "VERDAN")
    line(1, "DATE", "1 JUN 2024")
    line(1, "SUBM", "@U1@")
    line(1, "FILE", "sample-family.ged")
    line(1, "GEDC")
    line(2, "VERS", "5.5.1")
    line(2, "FORM", "LINEAGE-LINKED")
    line(1, "CHAR", "UTF-8")
    line(1, "LANG", "Arabic")
    note(1, "عائلة آل الريّان: شجرة مثال متخيَّلة، أسماؤها وأحداثها من صنع الخيال.\n"
            "A fictional sample family: every name and event is invented.")
    line(0, "@U1@", "SUBM")
    line(1, "NAME", "Verdan")

    for p in t.persons:
        line(0, f"@{p.xref}@", "INDI")
        if p.group_type:
            line(1, "NAME", p.given)
            line(2, "GIVN", p.given)
            line(1, "_GROUP", "Y")
            line(2, "TYPE", p.group_type)
        else:
            line(1, "NAME", f"{p.given} /{p.surname}/" if p.surname else p.given)
            line(2, "GIVN", p.given)
            if p.surname:
                line(2, "SURN", p.surname)
            if p.nick:
                line(2, "NICK", p.nick)
            line(1, "SEX", p.sex)
            if p.title:
                line(1, "TITL", p.title)
            if p.birth:
                line(1, "BIRT")
                line(2, "DATE", p.birth.gedcom())
                if p.birth_place:
                    line(2, "PLAC", p.birth_place)
            if p.death:
                line(1, "DEAT", "Y" if p.death_unknown else "")
                if not p.death_unknown:
                    line(2, "DATE", p.death.gedcom())
                if p.death_place:
                    line(2, "PLAC", p.death_place)
        for other, relation in p.asso:
            line(1, "ASSO", f"@{other.xref}@")
            line(2, "RELA", relation)
        if p.notes:
            note(1, "\n".join(p.notes))
        if p.famc:
            line(1, "FAMC", f"@{p.famc.xref}@")
        for f in p.fams:
            line(1, "FAMS", f"@{f.xref}@")

    for f in t.families:
        line(0, f"@{f.xref}@", "FAM")
        line(1, "HUSB", f"@{f.husband.xref}@")
        if f.wife:
            line(1, "WIFE", f"@{f.wife.xref}@")
        if f.married:
            line(1, "MARR")
            line(2, "DATE", f.married.gedcom())
            if f.place:
                line(2, "PLAC", f.place)
        if f.divorced:
            line(1, "DIV")
            line(2, "DATE", f.divorced.gedcom())
        if f.note:
            note(1, f.note)
        for c in f.children:
            line(1, "CHIL", f"@{c.xref}@")
    line(0, "TRLR")
    return "\ufeff" + "\n".join(out) + "\n"


def generations(t):
    depth = {}

    def of(p):
        if p.xref not in depth:
            father = p.famc.husband if p.famc else None
            depth[p.xref] = (of(father) if father else 0) + (0 if p.group_type else 1)
        return depth[p.xref]

    return max(of(p) for p in t.persons)


def main():
    t = build()
    check(t)
    text = gedcom(t)
    count = sum(1 for p in t.persons if not p.group_type)
    if not 250 <= count <= 400 or generations(t) < 8:
        raise SystemExit(f"{count} persons over {generations(t)} generations: adjust the widths")
    if "--check" in sys.argv[1:]:
        if not OUTPUT.exists() or OUTPUT.read_text(encoding="utf-8") != text:
            raise SystemExit(f"{OUTPUT.relative_to(ROOT)} is out of date: run scripts/make_sample_tree.py")
        return
    OUTPUT.parent.mkdir(parents=True, exist_ok=True)
    OUTPUT.write_text(text, encoding="utf-8", newline="\n")
    print(f"{OUTPUT.relative_to(ROOT)}: {count} persons, {len(t.families)} families, "
          f"{generations(t)} generations")


if __name__ == "__main__":
    main()
