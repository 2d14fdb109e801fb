#!/usr/bin/env python3
"""Write the sample data set that ships with Pukapuka☆ダイエット.

Usage, from the repository root:

    python3 tools/make-sample.py

(Re)writes resources/sample/ : the measurement log of the sample user ｔ＆Ｔ
(a diet from 2003/07/25 to late November 2003), the situation list and the small
setting files. Every file is Windows code page 932 text with CR LF line ends and
no BOM. The program recognises this data set by its first date and profile and
opens it on 2003/11/08, so that day is made worth looking at.

The output is deterministic: one fixed seed, and only Random.random() is drawn
(its sequence for an integer seed is stable across Python 3 releases), so a rerun
gives identical bytes. Checks at the end read the files back and stop with an
error when one of them breaks the format the program reads.
"""

import datetime
import math
import random
import re
from pathlib import Path

SEED = 20031108
OUT_DIR = Path(__file__).resolve().parent.parent / "resources" / "sample"

FIRST_DAY = datetime.date(2003, 7, 25)
LAST_DAY = datetime.date(2003, 11, 22)
SAMPLE_DAY = datetime.date(2003, 11, 8)  # the day the program shows at start-up
START_WEIGHT = 75.5
START_FAT = 22.3
HEIGHT = 168.5
TARGET = 65

SITUATIONS = ["起床後", "朝食後", "昼食後", "間食後", "夕食前", "夕食後", "運動後", "入浴後", "就寝前"]
PARTY = "飲み会後"  # typed freely on party nights, never added to the list

NOTES = [
    "・朝起きてトイレの後に量るのが一番正確。",
    "・夕食後は朝より１Kg近く増えるけど、夜の分は寝ている間に戻るので気にしない。",
    "・週末に食べ過ぎると月曜の朝に必ず増えている。",
    "",
    "・停滞期は２週間くらいで抜ける。あせらず続けること。",
    "・ジョギングとお風呂の後は少し減っている。",
    "・夜９時以降は食べない！",
]


def d(month, day):
    return datetime.date(2003, month, day)


# Days without any measurement: trips, a business trip and a few busy days.
UNMEASURED = {
    d(8, 14), d(8, 15),  # visiting the family for お盆
    d(9, 6),
    d(9, 13), d(9, 14), d(9, 15),  # hot-spring trip over the 敬老の日 weekend
    d(10, 8),
    d(10, 18), d(10, 19),  # business trip
    d(11, 1),
}

# Days measured only once (besides the start day); "*" is a reading named by the time button.
SINGLE = {d(8, 7): "起床後", d(8, 21): "就寝前", d(9, 4): "起床後", d(9, 25): "*",
          d(10, 14): "起床後", d(10, 28): "就寝前", d(11, 12): "起床後"}

# Days whose last weight is set equal to their first: the calendar's "unchanged" class.
UNCHANGED = {d(8, 6), d(8, 27), d(9, 9), d(9, 30), d(10, 15), d(10, 22), d(11, 4), d(11, 18)}

# The automatic time stamp was switched on for these days: each new record got the
# time of saving as its comment.
STAMP_FROM, STAMP_TO = d(8, 18), d(8, 27)

# Morning weight trend (kg): fast at first, then slower, a plateau in mid September.
TREND = [
    (d(7, 25), 75.3), (d(8, 10), 73.7), (d(8, 31), 72.5), (d(9, 9), 71.9),
    (d(9, 24), 71.8), (d(10, 15), 70.4), (d(10, 31), 69.5), (d(11, 8), 69.1),
    (d(11, 22), 68.4),
]

# Extra morning weight after feasts and trips (kg).
BUMPS = {
    d(8, 2): 0.5, d(8, 3): 0.2, d(8, 16): 0.7, d(8, 17): 0.4, d(8, 25): 0.4,
    d(9, 16): 0.8, d(9, 17): 0.5, d(9, 18): 0.2, d(10, 20): 0.5, d(10, 21): 0.2,
    d(10, 25): 0.3, d(11, 1): 0.2,
}
WEEKDAY_BUMP = {0: 0.3, 1: 0.1, 6: 0.15}  # Monday, Tuesday, Sunday

# Days whose situations (and the comments written later in the diary) are planned;
# None keeps the automatic time stamp.
PLANNED = {
    d(7, 26): [("起床後", "今日から本格的にダイエット開始！"), ("朝食後", ""), ("夕食後", ""), ("就寝前", "")],
    d(8, 1): [("起床後", ""), (PARTY, "飲み会で食べ過ぎた…")],
    d(8, 5): [("起床後", ""), ("夕食後", ""), ("運動後", "ジョギングを始めた。３０分"), ("入浴後", "")],
    d(8, 13): [("起床後", ""), ("夕食後", ""), ("就寝前", "明日から帰省")],
    d(8, 16): [("起床後", "帰省中はごちそう続きで増えた…"), ("夕食後", ""), ("就寝前", "")],
    d(8, 18): [("起床後", "時間の自動記録を試してみる"), ("朝食後", None), ("夕食後", None), ("就寝前", None)],
    d(8, 24): [("起床後", None), ("昼食後", None), ("夕食後", "焼肉食べ放題…"), ("就寝前", None)],
    d(9, 2): [("起床後", "体重計の電池を交換"), ("夕食後", ""), ("入浴後", "")],
    d(9, 10): [("起床後", "停滞期かな？"), ("夕食後", ""), ("就寝前", "")],
    d(9, 12): [("起床後", ""), ("就寝前", "明日から三連休で温泉旅行")],
    d(9, 16): [("起床後", "旅行から帰宅。食べ過ぎた…"), ("夕食後", ""), ("入浴後", ""), ("就寝前", "")],
    d(9, 19): [("起床後", "なかなか減らない…"), ("夕食後", ""), ("就寝前", "")],
    d(10, 3): [("起床後", ""), ("夕食後", ""), ("運動後", "ウォーキング４０分"), ("入浴後", "")],
    d(10, 10): [("起床後", "スーツのウエストがゆるくなった！"), ("朝食後", ""), ("夕食後", ""), ("就寝前", "")],
    d(10, 17): [("起床後", ""), ("就寝前", "明日から出張")],
    d(10, 20): [("起床後", "出張中は外食ばかりだった"), ("夕食後", ""), ("就寝前", "")],
    d(10, 24): [("起床後", ""), ("間食後", "ケーキを２個も食べてしまった"), ("夕食後", ""), ("就寝前", "")],
    d(10, 31): [("起床後", ""), ("夕食後", "ラーメン大盛り。反省"), ("就寝前", "")],
    d(11, 15): [("起床後", ""), ("運動後", "プールで１km泳いだ"), ("夕食後", ""), ("入浴後", "")],
    d(11, 20): [("起床後", "@loss"), ("夕食後", ""), ("就寝前", "")],
}

# Days written out in full: (situation, weight, body fat, comment).
# 11/07 a farewell party, 11/08 the morning after: a high start, a jog and a bath
# bring it down, and the day ends lower than it began.
FULL = {
    d(11, 7): [("起床後", 69.1, 20.2, ""), (PARTY, 70.3, 20.5, "送別会でつい飲み過ぎた…")],
    SAMPLE_DAY: [
        ("起床後", 69.6, 20.4, "昨日の飲み会が響いてる…"),
        ("朝食後", 70.0, 20.3, ""),
        ("運動後", 69.25, 19.9, "久しぶりにジョギング！"),
        ("入浴後", 69.0, 19.6, ""),
        ("就寝前", 69.3, 20.0, "朝より減ったので満足"),
    ],
}

# A feast stays on the scale for the rest of the day (kg).
FEASTS = {(d(8, 24), "夕食後"): 0.6, (d(10, 24), "間食後"): 0.4, (d(10, 31), "夕食後"): 0.4}

# Comments for the first morning weight below a whole kilogram.
MILESTONES = [(73.0, "やっと72Kg台！"), (72.0, "71Kg台に突入"), (71.0, "70Kg台になった！"),
              (70.0, "ついに60Kg台！")]

# Situations of a day, chosen at random; (situations, weight on weekdays, on weekends).
TEMPLATES = [
    (["起床後", "夕食後", "就寝前"], 15, 8),
    (["起床後", "朝食後", "夕食後", "就寝前"], 14, 14),
    (["起床後", "就寝前"], 7, 3),
    (["起床後", "朝食後", "夕食後", "入浴後", "就寝前"], 7, 14),
    (["起床後", "運動後"], 10, 4),
    (["夕食後", "入浴後"], 8, 2),
    (["起床後", "朝食後", "運動後"], 8, 10),
    (["夕食後", "運動後", "入浴後"], 10, 4),
    (["起床後", "夕食後", "運動後", "入浴後"], 8, 8),
    (["起床後", "朝食後", "入浴後", "就寝前"], 7, 8),
    (["起床後", "朝食後", "夕食前", "運動後", "入浴後"], 6, 8),
    (["起床後", "朝食後", "昼食後", "夕食後", "就寝前"], 0, 18),
    (["起床後", "昼食後", "間食後", "夕食後"], 3, 6),
]

# Morning-relative weight of a situation (kg). 運動後 is relative to the measurement
# before it, and so is 入浴後 when that measurement was taken in the evening.
OFFSET = {"起床後": 0.0, "朝食後": 0.45, "昼食後": 0.65, "間食後": 0.75, "夕食前": 0.55,
          "夕食後": 0.8, "入浴後": 0.45, "就寝前": 0.55, PARTY: 1.4}
EVENING = ("間食後", "夕食前", "夕食後", "運動後", PARTY)
FAT_OFFSET = {"起床後": 0.2, "運動後": -0.3, "入浴後": -0.3, "夕食後": 0.1}

# Usual clock time of a situation, minutes after midnight (weekday, weekend).
TIME_WINDOW = {
    "起床後": ((380, 450), (430, 520)), "朝食後": ((440, 500), (490, 580)),
    "昼食後": ((740, 790), (750, 810)), "間食後": ((900, 960), (900, 990)),
    "夕食前": ((1090, 1150), (1060, 1120)), "夕食後": ((1170, 1260), (1130, 1210)),
    "運動後": ((1140, 1200), (600, 680)), "入浴後": ((1270, 1340), (1230, 1320)),
    "就寝前": ((1360, 1420), (1370, 1430)), PARTY: ((1360, 1425), (1360, 1425)),
}


class Rng:
    """Random numbers from Random.random() alone, for stable output."""

    def __init__(self, seed):
        self.r = random.Random(seed)

    def uniform(self, a, b):
        return a + (b - a) * self.r.random()

    def chance(self, p):
        return self.r.random() < p

    def normal(self, sigma):
        u1 = 1.0 - self.r.random()
        u2 = self.r.random()
        return sigma * math.sqrt(-2.0 * math.log(u1)) * math.cos(2.0 * math.pi * u2)

    def weighted(self, items, weights):
        x = self.r.random() * sum(weights)
        for item, w in zip(items, weights):
            x -= w
            if x < 0:
                return item
        return items[-1]


def trend(day):
    for (d0, w0), (d1, w1) in zip(TREND, TREND[1:]):
        if d0 <= day <= d1:
            return w0 + (w1 - w0) * (day - d0).days / (d1 - d0).days
    raise ValueError(day)


def fat_trend(morning):
    # body fat follows the weight: 22.3 % at the start, about 19.5 % at 68.4 kg
    return 19.5 + (morning - 68.4) / (75.3 - 68.4) * 2.6


def to_hundredths(kg, fine):
    """Scale reading in hundredths of a kilogram: 0.1 kg steps, or 50 g when fine."""
    step = 5 if fine else 10
    return int(math.floor(kg * 100 / step + 0.5)) * step


def number_text(hundredths):
    """Shortest decimal form: 7550 -> 75.5, 7500 -> 75, 7485 -> 74.85."""
    whole, frac = divmod(hundredths, 100)
    return str(whole) if frac == 0 else f"{whole}.{frac:02d}".rstrip("0")


def clock(seconds):
    return f"{seconds // 3600}:{seconds // 60 % 60:02d}:{seconds % 60:02d}"


def day_times(rng, situations, weekend):
    """Clock times (seconds) of one day's measurements, strictly increasing."""
    times, prev = [], 0
    for s in situations:
        lo, hi = TIME_WINDOW[s][1 if weekend else 0]
        if s in ("運動後", "入浴後") and prev:
            lo, hi = max(lo, prev // 60 + 30), max(hi, prev // 60 + 70)
        minute = int(rng.uniform(lo, hi))
        t = max(minute * 60 + int(rng.uniform(0, 60)), prev + 600)
        times.append(min(t, 23 * 3600 + 59 * 60 + 59 - 60 * (len(situations) - len(times))))
        prev = times[-1]
    return times


def make_log():
    rng = Rng(SEED)
    records = [(FIRST_DAY, "はじめの一歩", to_hundredths(START_WEIGHT, False), "", round(START_FAT * 10))]
    noise = 0.0
    milestones = list(MILESTONES)
    day = FIRST_DAY
    while day < LAST_DAY:
        day += datetime.timedelta(days=1)
        weekend = day.weekday() >= 5
        # day-to-day noise is carried over, so a heavy day tends to be followed by another
        noise = 0.6 * noise + rng.normal(0.12)
        if day in UNMEASURED:
            continue
        morning = trend(day) + noise + WEEKDAY_BUMP.get(day.weekday(), 0.0) + BUMPS.get(day, 0.0)
        fat_base = fat_trend(trend(day)) + rng.normal(0.15)

        if day in FULL:
            for s, w, f, c in FULL[day]:
                records.append((day, s, round(w * 100), c, round(f * 10)))
            continue

        if day in PLANNED:
            plan = PLANNED[day]
        elif day in SINGLE:
            plan = [(SINGLE[day], "")]
        else:
            # an unchanged day starts on waking and ends with exercise or a bath that
            # takes back what was eaten
            usable = [t for t in TEMPLATES
                      if day not in UNCHANGED or (t[0][0] == "起床後" and t[0][-1] in ("運動後", "入浴後"))]
            table = [t for t, _, _ in usable]
            weights = [we if weekend else wd for _, wd, we in usable]
            plan = [(s, "") for s in rng.weighted(table, weights)]
        situations = [s for s, _ in plan]
        if situations == ["*"]:
            situations = ["起床後"]
        times = day_times(rng, situations, weekend)

        day_records, prev, prev_sit, feast = [], None, None, 0.0
        for (s, comment), sit, t in zip(plan, situations, times):
            if sit == "運動後" and prev is not None:
                kg = prev - rng.uniform(0.3, 0.6)
            elif sit == "入浴後" and prev_sit in EVENING:
                kg = prev - rng.uniform(0.15, 0.4)
            elif sit == "就寝前" and prev_sit == "入浴後":
                kg = prev + rng.uniform(-0.1, 0.25)
            else:
                kg = morning + OFFSET[sit] + feast + rng.normal(0.08)
            if (day, sit) in FEASTS:
                feast = FEASTS[day, sit]
                kg += feast
            prev, prev_sit = kg, sit
            hundredths = to_hundredths(kg, rng.chance(0.1))
            fat = int(math.floor((fat_base + FAT_OFFSET.get(sit, 0.0) + rng.normal(0.15)) * 10 + 0.5))

            situation = sit
            # now and then the time button was used instead of a situation word
            if s == "*" or (len(plan) > 1 and rng.chance(0.025)):
                situation = clock(t)
            if comment is None or (comment == "" and STAMP_FROM <= day <= STAMP_TO):
                comment = clock(t + int(rng.uniform(4, 40)))
            day_records.append([day, situation, hundredths, comment, fat])

        if day in UNCHANGED and len(day_records) > 1:
            # meet at the lower of the two, so that exercise or a bath never adds weight
            low = min(day_records[0][2], day_records[-1][2])
            day_records[0][2] = day_records[-1][2] = low
        for r in day_records:
            if r[3] == "@loss":
                loss = (to_hundredths(START_WEIGHT, False) - r[2] + 5) // 10
                r[3] = f"ここまで{loss // 10}.{loss % 10}Kg減！目標の{TARGET}Kgまで頑張る"
            # a diary entry already written that morning keeps the milestone for the next one
            if (milestones and r[1] == "起床後" and r[2] < milestones[0][0] * 100
                    and (r[3] == "" or TIME.fullmatch(r[3]))):
                r[3] = milestones.pop(0)[1]
            records.append(tuple(r))
    return records


def log_line(r):
    day, situation, hundredths, comment, fat_tenths = r
    fat = f"{fat_tenths // 10}" if fat_tenths % 10 == 0 else f"{fat_tenths // 10}.{fat_tenths % 10}"
    return f'"{day:%Y/%m/%d}","{situation}",{number_text(hundredths)},"{comment}",{fat},""'


def write(name, lines):
    data = "".join(line + "\r\n" for line in lines).encode("cp932")  # strict: no substitution
    (OUT_DIR / name).write_bytes(data)


PROFILE = "\uff8c\uff9f\uff97\uff72\uff8d\uff9e\uff70\uff84.txt"  # ﾌﾟﾗｲﾍﾞｰﾄ.txt, half-width
USER = "\uff54\uff06\uff34"  # ｔ＆Ｔ, full-width

FILES = {
    "データ.txt": None,  # filled in main()
    "状況リスト.txt": SITUATIONS,
    "設定.TXT": ['"ヘルプツアー",1'],
    "体重計刻み.TXT": ["0.1", "0.1"],
    "自動時間.TXT": [" 0 "],
    "移動平均.TXT": ["10"],
    PROFILE: [f'"氏名","{USER}"', f'"身長",{HEIGHT}', f'"目標体重",{TARGET}'],
    "気付きメモ.TXT": NOTES,
    "マーカー.TXT": ["1"],
}

LOG_LINE = re.compile(
    r'"(\d{4}/\d\d/\d\d)","([^",]+)",((?:0|[1-9]\d*)(?:\.\d?[1-9])?),"([^"]*)",([1-9]\d*(?:\.[1-9])?),""'
)
TIME = re.compile(r"(?:[1-9]|1\d|2[0-3]):[0-5]\d:[0-5]\d")


def check():
    """Read the files back and stop at the first thing the program could not read."""
    texts = {}
    for name in FILES:
        raw = (OUT_DIR / name).read_bytes()
        assert not raw.startswith(b"\xef\xbb\xbf"), name
        assert raw.endswith(b"\r\n"), f"{name}: last line without CR LF"
        text = raw.decode("cp932")
        body = text[:-2]
        assert "\r" not in body.replace("\r\n", ""), f"{name}: bare CR"
        assert "\n" not in body.replace("\r\n", ""), f"{name}: bare LF"
        texts[name] = body.split("\r\n")

    log = texts["データ.txt"]
    assert log[0] == '"2003/07/25","はじめの一歩",75.5,"",22.3,""', log[0]
    days, prev, two_decimals, timed, stamped = {}, "", 0, 0, 0
    for line in log:
        m = LOG_LINE.fullmatch(line)
        assert m, f"malformed log line: {line}"
        date_text, situation, weight, comment, fat = m.groups()
        datetime.datetime.strptime(date_text, "%Y/%m/%d")
        assert date_text >= prev, f"date order broken at {line}"
        prev = date_text
        assert 60 < float(weight) < 80 and 15 < float(fat) < 25, line
        two_decimals += len(weight.partition(".")[2]) == 2
        timed += bool(TIME.fullmatch(situation))
        stamped += bool(TIME.fullmatch(comment))
        assert situation in SITUATIONS or situation in ("はじめの一歩", PARTY) or TIME.fullmatch(situation), line
        days.setdefault(date_text, []).append(float(weight))

    assert 350 <= len(log) <= 450, len(log)
    assert 4 <= len(days["2003/11/08"]) <= 5
    sample = days["2003/11/08"]
    assert sample[-1] < sample[0] and min(sample) < sample[0] < max(sample)
    assert prev >= "2003/11/20", prev
    first = datetime.date(2003, 7, 25)
    last = datetime.datetime.strptime(prev, "%Y/%m/%d").date()
    unmeasured = (last - first).days + 1 - len(days)
    assert 8 <= unmeasured <= 12, unmeasured
    kinds = {"down": 0, "up": 0, "same": 0, "once": 0}
    for weights in days.values():
        if len(weights) == 1:
            kinds["once"] += 1
        else:
            kinds["down" if weights[-1] < weights[0] else "up" if weights[-1] > weights[0] else "same"] += 1
    assert all(kinds.values()), kinds
    assert two_decimals and timed and stamped

    assert texts["状況リスト.txt"][0] == "起床後" and "" not in texts["状況リスト.txt"]
    assert texts["設定.TXT"] == ['"ヘルプツアー",1']
    assert texts["体重計刻み.TXT"] == ["0.1", "0.1"]
    assert texts["自動時間.TXT"] == [" 0 "]
    assert texts["移動平均.TXT"] == ["10"]
    assert texts[PROFILE] == ['"氏名","ｔ＆Ｔ"', '"身長",168.5', '"目標体重",65']
    assert texts["マーカー.TXT"] == ["1"]
    memo = texts["気付きメモ.TXT"]
    assert 4 <= len(memo) <= 8 and "" in memo[1:-1] and memo[0] and memo[-1]
    return len(log), unmeasured, kinds, two_decimals, timed, stamped


def main():
    OUT_DIR.mkdir(parents=True, exist_ok=True)
    log = [log_line(r) for r in make_log()]
    for name, lines in FILES.items():
        write(name, log if lines is None else lines)
    count, unmeasured, kinds, two_decimals, timed, stamped = check()
    first, last = log[0][1:11], log[-1][1:11]
    sample = [line.split(",")[2] for line in log if line.startswith('"2003/11/08"')]
    print(f"{OUT_DIR}: {count} records, {first} .. {last}, {unmeasured} unmeasured days")
    print(f"days {kinds}; 50 g readings {two_decimals}; timed situations {timed}; time comments {stamped}")
    print(f"2003/11/08: {' '.join(sample)}")


if __name__ == "__main__":
    main()
