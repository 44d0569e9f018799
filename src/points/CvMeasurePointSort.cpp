#include "points/CvMeasurePointSort.h"

#include "platform/base/DT_Double.h"
#include "platform/base/HugePages.h"
#include "platform/base/TextFormat.h"
#include "platform/base/Trace.h"
#include "platform/host/HostUi.h"
#include "points/NeighbourSearch.h"
#include "points/StableSort.h"
#include "points/TrackPieces.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <typeinfo>

namespace {

// 16 when `to` names `from` neither as nearest nor as opposite (a one-way link), else 0.
int OneWay(const CvMeasurePointSort::Record& to, int from, int code) {
    return (to.nearest != from && to.opposite != from) ? code : 0;
}

} // namespace

int CvMeasurePointSort::CompareCoordinates(const DT_Punkt& first, const DT_Punkt& second) {
    // DT_Double::StorreEnn and Lik with the tolerance, written out.
    if (first.x() > second.x() + kTolerance)
        return 1;
    if (!(std::fabs(first.x() - second.x()) <= kTolerance))
        return 0;
    if (first.y() > second.y() + kTolerance)
        return 1;
    if (!(std::fabs(first.y() - second.y()) <= kTolerance))
        return 0;
    return first.z() > second.z() + kTolerance ? 1 : 0;
}

int CvMeasurePointSort::Compare(const DT_Punkt* first, const DT_Punkt* second) const {
    if (first == nullptr || second == nullptr)
        return 0;
    return CompareCoordinates(*first, *second);
}

int CvMeasurePointSort::Presort(int ascending) {
    std::vector<PresortKey> keys;
    return Presort(ascending, keys);
}

int CvMeasurePointSort::Presort(int ascending, std::vector<PresortKey>& keys) {
    if (list == nullptr)
        return ErrorKode(-1);
    // Sort copies of the coordinates held side by side rather than the points themselves, which
    // lie scattered in memory; Compare sees the copies.
    const int n = list->Antall();
    try {
        keys.clear();
        rigel::ReserveLarge(keys, static_cast<std::size_t>(n));
    } catch (const std::bad_alloc&) {
        return ErrorKode(-2);
    }
    for (int i = 0; i < n; ++i) {
        const auto* p = static_cast<const DT_Punkt*>(list->Objekt(i));
        keys.push_back({DT_Punkt(p->x(), p->y(), p->z()), list->Objekt(i)});
    }
    if (typeid(*this) == typeid(CvMeasurePointSort)) {
        // Compare is not overridden: the same comparison, inline.
        rigel::StableMergeSort(keys, [](const PresortKey& a, const PresortKey& b) {
            return CompareCoordinates(b.p, a.p) == 1;
        });
    } else {
        rigel::StableMergeSort(keys, [this](const PresortKey& a, const PresortKey& b) {
            return Compare(&b.p, &a.p) == 1;
        });
    }
    if (!ascending)
        std::reverse(keys.begin(), keys.end());
    for (int i = 0; i < n; ++i)
        list->Node(i)->SetDette(keys[static_cast<std::size_t>(i)].point);
    list->AktiverForste();
    return 1;
}

// The neighbour links of the records: one k-d tree over all records, built once per sort; records
// judged measuring errors later are excluded from the answers without rebuilding it.
struct CvMeasurePointSort::Links {
    explicit Links(const std::vector<Record>& records) : search(Build(records)) {}

    // Links record r afresh: nearest, then opposite.
    void Link(std::vector<Record>& records, int r) const {
        Record& rec = records[static_cast<std::size_t>(r)];
        ClearLinks(rec);
        if (rec.error)
            return;
        const auto nearest = search.Nearest(r, rec.nearestDistance);
        if (nearest.index >= 0) {
            rec.nearest = nearest.index;
            rec.nearestDistance = nearest.distance;
        }
        const auto opposite = rec.nearest >= 0
                                  ? search.Opposite(r, rec.nearest, rec.oppositeDistance)
                                  : search.Nearest(r, rec.oppositeDistance);
        if (opposite.index >= 0) {
            rec.opposite = opposite.index;
            rec.oppositeDistance = opposite.distance;
        }
    }
    void LinkAll(std::vector<Record>& records) const {
        for (int r = 0; r < static_cast<int>(records.size()); ++r)
            Link(records, r);
    }
    // Marks r a measuring error: it takes no further part in any search.
    void Exclude(std::vector<Record>& records, int r) {
        records[static_cast<std::size_t>(r)].error = true;
        ClearLinks(records[static_cast<std::size_t>(r)]);
        excluded[static_cast<std::size_t>(r)] = 1;
    }

    static void ClearLinks(Record& r) {
        r.nearest = r.opposite = -1;
        r.nearestDistance = r.oppositeDistance = kNoDistance;
        r.visited = false;
        r.piece = -1;
    }

    std::vector<double> xs, ys;
    std::vector<char> excluded;
    rigel::NeighbourSearch search;

private:
    rigel::NeighbourSearch Build(const std::vector<Record>& records) {
        rigel::AssignLarge(xs, records.size());
        rigel::AssignLarge(ys, records.size());
        rigel::AssignLarge(excluded, records.size());
        for (std::size_t i = 0; i < records.size(); ++i) {
            xs[i] = records[i].x;
            ys[i] = records[i].y;
            excluded[i] = records[i].error ? 1 : 0;
        }
        return rigel::NeighbourSearch(xs, ys, excluded);
    }
};

bool CvMeasurePointSort::Walk(std::vector<Record>& records, int start, int piece, int placedBefore,
                              std::vector<int>& out, std::size_t& budget) {
    // This walk's own allowance, so that one walk going round in circles leaves steps for the
    // others; records un-visited by a turn-back count as steps too.
    const std::size_t open = static_cast<std::size_t>(std::max(0, lastIndex + 1 - placedBefore));
    std::size_t allowance = std::min(budget, 16 * open + 64);
    const auto spend = [&](std::size_t steps) {
        steps = std::min({steps, allowance, budget});
        allowance -= steps;
        budget -= steps;
    };
    out.clear();
    // A link to a record that another walk placed counts as absent.
    const auto usable = [&](int t) {
        return t >= 0 && (records[t].piece < 0 || records[t].piece == piece) ? t : -1;
    };
    int walkedHere = 0;
    int cur = start;
    int prev = -1;
    std::size_t w = 0;
    for (; cur >= 0 && allowance > 0 && !records[cur].visited && !records[cur].error; spend(1)) {
        ++walkedHere;
        records[cur].visited = true;
        records[cur].piece = piece;
        if (out.size() <= w)
            out.resize(w + 1);
        out[w] = cur;

        const int a = usable(records[cur].nearest);
        const int b = usable(records[cur].opposite);
        int next = -1;
        int code = 0;
        int turning = -1;
        if (a >= 0 && !records[a].visited) {
            next = a;
            code = OneWay(records[a], cur, 16);
        } else if (a >= 0) {
            if (b >= 0 && b == prev && records[b].visited) {
                next = a;
                code = 1;
                records[a].nearest = cur;
                turning = a;
            } else if (b >= 0 && records[b].visited) {
                next = b;
                code = 2;
                records[b].nearest = cur;
                turning = b;
            } else if (b >= 0) {
                next = b;
                code = OneWay(records[b], cur, 32);
            }
        } else if (b >= 0 && !(b == prev && records[b].visited)) {
            next = b;
        }

        if (next >= 0 && (code == 1 || code == 2)) {
            if (next == start || placedBefore + walkedHere >= lastIndex)
                break;
            ++(code == 1 ? findings.turnBacksNearest : findings.turnBacksOpposite);
            // Turn back: un-visit cur and the chain of visited records behind it, away from the
            // turning record, and write them again from cur onwards.
            records[cur].visited = false;
            records[cur].piece = -1;
            int undone = 1;
            int y = records[cur].nearest != turning ? records[cur].nearest : records[cur].opposite;
            y = usable(y);
            while (y >= 0 && records[y].visited && undone < walkedHere) {
                records[y].visited = false;
                records[y].piece = -1;
                ++undone;
                const int yn = usable(records[y].nearest);
                const int yo = usable(records[y].opposite);
                y = (yn >= 0 && records[yn].visited)   ? yn
                    : (yo >= 0 && records[yo].visited) ? yo
                                                       : -1;
            }
            spend(static_cast<std::size_t>(undone));
            w = w + 1 - static_cast<std::size_t>(undone);
            walkedHere -= undone;
            prev = turning;
            continue;
        }
        if (next >= 0 && (code == 16 || code == 32)) {
            out.resize(static_cast<std::size_t>(walkedHere));
            return true;
        }
        prev = cur;
        cur = next;
        ++w;
    }
    out.resize(static_cast<std::size_t>(walkedHere));
    if (allowance == 0 && cur >= 0 && !records[cur].visited && !records[cur].error)
        ++findings.walksCut;
    return false;
}

namespace {

// How often each record is named as nearest or opposite by another one.
std::vector<int> NamedCounts(const std::vector<CvMeasurePointSort::Record>& records) {
    std::vector<int> named;
    rigel::AssignLarge(named, records.size());
    for (const auto& r : records) {
        if (r.nearest >= 0)
            ++named[static_cast<std::size_t>(r.nearest)];
        if (r.opposite >= 0 && r.opposite != r.nearest)
            ++named[static_cast<std::size_t>(r.opposite)];
    }
    return named;
}

} // namespace

std::vector<char> CvMeasurePointSort::OffTrack(const std::vector<Record>& records, int& hanging) {
    const std::size_t n = records.size();
    std::vector<char> off;
    rigel::AssignLarge(off, n);
    if (n < 2)
        return off;
    const auto mutual = [&](int r, int t) {
        return t >= 0 && (records[t].nearest == r || records[t].opposite == r);
    };
    // Groups held together by mutual links, as a union-find forest over the records.
    std::vector<int> root;
    rigel::AssignLarge(root, n);
    for (std::size_t i = 0; i < n; ++i)
        root[i] = static_cast<int>(i);
    const auto find = [&root](int i) {
        while (root[i] != i)
            i = root[i] = root[root[i]];
        return i;
    };
    for (int r = 0; r < static_cast<int>(n); ++r)
        for (const int t : {records[r].nearest, records[r].opposite})
            if (mutual(r, t)) {
                const int a = find(r), b = find(t);
                root[std::max(a, b)] = std::min(a, b);
            }
    // Size of each group, and whether a record outside it names one of its records.
    std::vector<int> size;
    std::vector<char> namedFromOutside;
    rigel::AssignLarge(size, n);
    rigel::AssignLarge(namedFromOutside, n);
    int largest = -1;
    for (int i = 0; i < static_cast<int>(n); ++i) {
        if (records[i].error)
            continue;
        const int g = find(i);
        if (++size[g] > (largest < 0 ? 0 : size[largest]))
            largest = g;
        for (const int t : {records[i].nearest, records[i].opposite})
            if (t >= 0 && find(t) != g)
                namedFromOutside[find(t)] = 1;
    }
    if (largest < 0 || size[largest] < kMinPiece)
        return off;
    // A record with one mutual link, to a record whose other mutual link it turns off from
    // sharply with a longer link, hangs off the end of the track: a stray beside the end.
    const auto mutualLinks = [&](int r, int* partners) {
        int count = 0;
        for (const int t : {records[r].nearest, records[r].opposite})
            if (mutual(r, t))
                partners[count++] = t;
        return count;
    };
    const auto hangsOff = [&](int r) {
        int partner[2], beyond[2];
        if (mutualLinks(r, partner) != 1 || mutualLinks(partner[0], beyond) != 2)
            return false;
        const Record &a = records[r], &b = records[partner[0]];
        const Record& c = records[beyond[0] != r ? beyond[0] : beyond[1]];
        return rigel::EndTurnsOff(a.x, a.y, b.x, b.y, c.x, c.y, kEndTurnDegrees);
    };
    for (int i = 0; i < static_cast<int>(n); ++i) {
        if (records[i].error)
            continue;
        const int g = find(i);
        if (g != largest && (size[g] < kMinPiece || !namedFromOutside[g]))
            off[i] = 1;
        else if (hangsOff(i)) {
            off[i] = 1;
            ++hanging;
        }
    }
    return off;
}

bool CvMeasurePointSort::MarkIsolated(std::vector<Record>& records, Links& links) {
    const std::vector<char> off = OffTrack(records, findings.turnedEnds);
    std::vector<double> sx, sy;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (off[i]) {
            links.Exclude(records, static_cast<int>(i));
            sx.push_back(records[i].x);
            sy.push_back(records[i].y);
            ++findings.isolated;
        }
    }
    if (sx.empty())
        return false;
    // Only a record that has one of these among its candidates within a hair of its own links'
    // distances, or names one of them, can get other links: those are searched again.
    constexpr double kMargin = 128 * kTolerance;
    const rigel::KdTree removed(sx, sy, [](std::size_t) { return true; });
    for (int r = 0; r < static_cast<int>(records.size()); ++r) {
        const Record& rec = records[static_cast<std::size_t>(r)];
        if (rec.error || rec.nearest < 0)
            continue;
        const double reach =
            std::max(rec.nearestDistance, rec.opposite >= 0 ? rec.oppositeDistance : 0.0) + kMargin;
        bool near = false;
        removed.Search(
            rec.x, rec.y, [&] { return near ? -1.0 : reach * reach; },
            [](const rigel::KdTree::Node&) { return true; },
            [&](int k) {
                const double dx = sx[static_cast<std::size_t>(k)] - rec.x;
                const double dy = sy[static_cast<std::size_t>(k)] - rec.y;
                near = near || dx * dx + dy * dy <= reach * reach;
            });
        const auto removedNow = [&](int t) { return t >= 0 && records[t].error; };
        if (near || !std::isfinite(reach) || removedNow(rec.nearest) || removedNow(rec.opposite))
            links.Link(records, r);
    }
    return true;
}

int CvMeasurePointSort::MarkMeasuringErrors(std::vector<Record>& records, Links& links) {
    const std::vector<int> named = NamedCounts(records);
    int marked = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        Record& r = records[i];
        const bool error = (r.nearest >= 0 && r.opposite >= 0 && named[i] < 2) ||
                           (named[i] == 0 && records.size() > 1);
        if (error && !r.error) {
            links.Exclude(records, static_cast<int>(i));
            ++marked;
        }
    }
    links.LinkAll(records);
    return marked;
}

std::vector<int> CvMeasurePointSort::PlaceRecords(std::vector<Record>& records, Links& links) {
    const int n = static_cast<int>(records.size());
    std::size_t budget = 32 * static_cast<std::size_t>(n) + 64;

    // The first walk, from the start rule over all records.
    const auto firstStart = [&] {
        for (int r = 0; r < n; ++r)
            if (!records[r].error && (records[r].nearest < 0 || records[r].opposite < 0))
                return r;
        int start = -1;
        double greatest = -1.0;
        for (int r = 0; r < n; ++r) {
            if (!records[r].error && records[r].oppositeDistance > greatest) {
                greatest = records[r].oppositeDistance;
                start = r;
            }
        }
        return start;
    };
    std::vector<int> order, out;
    rigel::ReserveLarge(order, records.size());
    std::vector<rigel::TrackPiece> pieces;
    findings.oneWay = Walk(records, firstStart(), 0, 0, out, budget);
    if (findings.oneWay) {
        findings.linkErrors = MarkMeasuringErrors(records, links);
        Walk(records, firstStart(), 0, 0, out, budget);
    }
    int placed = static_cast<int>(out.size());
    if (!out.empty()) {
        pieces.push_back({0, out.size()});
        order.insert(order.end(), out.begin(), out.end());
    }

    // Further walks over the records no walk has placed. Starts: a record that a placed record
    // names (where the track goes on), else one that lacks a link, else the first unplaced in
    // presorted order.
    std::vector<int> fresh;
    const auto noteNeighbours = [&](const std::vector<int>& walkedRecords) {
        for (int p : walkedRecords)
            for (const int t : {records[p].nearest, records[p].opposite})
                if (t >= 0)
                    fresh.push_back(t);
    };
    const auto open = [&](int r) { return !records[r].error && records[r].piece < 0; };
    noteNeighbours(out);
    int endCursor = 0, anyCursor = 0;
    for (int piece = 1; budget > 0; ++piece) {
        int start = -1;
        while (start < 0 && !fresh.empty()) {
            if (open(fresh.back()))
                start = fresh.back();
            fresh.pop_back();
        }
        for (; start < 0 && endCursor < n; ++endCursor)
            if (open(endCursor) &&
                (records[endCursor].nearest < 0 || records[endCursor].opposite < 0))
                start = endCursor;
        for (; start < 0 && anyCursor < n; ++anyCursor)
            if (open(anyCursor))
                start = anyCursor;
        if (start < 0)
            break;
        Walk(records, start, piece, placed, out, budget);
        if (out.empty())
            break;
        placed += static_cast<int>(out.size());
        pieces.push_back({order.size(), order.size() + out.size()});
        order.insert(order.end(), out.begin(), out.end());
        noteNeighbours(out);
    }

    // End points that turn off their piece; short pieces go into the track where they fit.
    const auto markError = [&](int r) {
        records[r].error = true;
        records[r].piece = -1;
    };
    std::size_t largest = 0;
    for (std::size_t i = 1; i < pieces.size(); ++i)
        if (pieces[i].Size() > pieces[largest].Size())
            largest = i;
    std::vector<rigel::TrackPiece> kept, shortPieces;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        rigel::TrackPiece p = pieces[i];
        if (i != largest && p.Size() < static_cast<std::size_t>(kMinPiece)) {
            shortPieces.push_back(p);
            findings.shortPieces += static_cast<int>(p.Size());
            continue;
        }
        const auto turnsOff = [&](std::size_t a, std::size_t b, std::size_t c) {
            const Record &ra = records[order[a]], &rb = records[order[b]], &rc = records[order[c]];
            return rigel::EndTurnsOff(ra.x, ra.y, rb.x, rb.y, rc.x, rc.y, kEndTurnDegrees);
        };
        while (p.Size() > 3 && turnsOff(p.begin, p.begin + 1, p.begin + 2)) {
            markError(order[p.begin++]);
            ++findings.turnedEnds;
        }
        while (p.Size() > 3 && turnsOff(p.end - 1, p.end - 2, p.end - 3)) {
            markError(order[--p.end]);
            ++findings.turnedEnds;
        }
        kept.push_back(p);
    }
    findings.pieces = static_cast<int>(kept.size());
    if (kept.size() == 1 && shortPieces.empty())
        return std::vector<int>(order.begin() + static_cast<long>(kept[0].begin),
                                order.begin() + static_cast<long>(kept[0].end));
    std::vector<double> xs, ys;
    rigel::AssignLarge(xs, records.size());
    rigel::AssignLarge(ys, records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        xs[i] = records[i].x;
        ys[i] = records[i].y;
    }
    return rigel::InsertShortPieces(rigel::JoinPieces(order, kept, xs, ys), order, shortPieces, xs,
                                    ys);
}

int CvMeasurePointSort::Sort(CvSporopPointList* sortList, int resetTotals, int showReport) {
    if (sortList != nullptr)
        list = sortList;
    if (list == nullptr)
        return ErrorKode(-1);
    if (list->Antall() == 0)
        return ErrorKode(-2);
    ErrorKode(0);
    if (resetTotals)
        pointsRead = pointsDeleted = duplicates = measuredErrors = pointsAnalyzed = pointsUnplaced =
            0;
    findings = Findings{};

    const int before = list->Antall();
    std::vector<PresortKey> keys;
    std::vector<Record> records;
    std::vector<char> kept;
    try {
        if (Presort(1, keys) != 1)
            return ErrorKode();
        rigel::ReserveLarge(records, static_cast<std::size_t>(before));
        rigel::AssignLarge(kept, static_cast<std::size_t>(before));
    } catch (const std::bad_alloc&) {
        return ErrorKode(-3);
    }

    int repeats = 0;
    for (int i = 0; i < before; ++i) {
        const PresortKey& key = keys[static_cast<std::size_t>(i)];
        if (i > 0 && key.p.Lik(keys[static_cast<std::size_t>(i - 1)].p, kTolerance, 1)) {
            ++repeats;
            continue;
        }
        Record rec{key.p.x(), key.p.y(), key.p.z()};
        rec.point = static_cast<CvSporopPoint*>(key.point);
        rec.listIndex = i;
        records.push_back(rec);
    }
    keys = std::vector<PresortKey>();
    lastIndex = static_cast<int>(records.size()) - 1;

    std::vector<int> order;
    {
        Links links(records);
        links.LinkAll(records);
        for (int pass = 0; pass < kIsolatedPasses && MarkIsolated(records, links); ++pass) {
        }
        order = PlaceRecords(records, links);
        findings.scanFallbacks = static_cast<int>(links.search.Fallbacks());
    }
    walked = static_cast<int>(order.size());

    // The placed records' points in track order, then the points of records no walk placed;
    // repeats and measuring errors are deleted.
    std::vector<HovedObjekt*> all;
    rigel::ReserveLarge(all, static_cast<std::size_t>(before));
    for (int i = 0; i < before; ++i)
        all.push_back(list->Objekt(i));
    list->SlettAlleIListen(0);
    list->Reserve(static_cast<std::size_t>(before - repeats));
    const auto keep = [&](const Record& rec) {
        kept[static_cast<std::size_t>(rec.listIndex)] = 1;
        CvSporopPoint* p = rec.point;
        const std::string_view code = p->code, description = p->description;
        p->Reset(DT_Punkt(rec.x, rec.y, rec.z), p->cant, code.substr(0, kMaxText),
                 description.substr(0, kMaxText));
        list->LeggTil(p);
    };
    for (int r : order)
        keep(records[static_cast<std::size_t>(r)]);
    for (const Record& rec : records) {
        if (rec.error || rec.piece >= 0)
            continue;
        ++findings.unplaced;
        rigel::Trace("[CvMeasurePointSort::Sort] Not placed: %.4f %.4f %.4f %s\n", rec.x, rec.y,
                     rec.z, rec.point->code.c_str());
        keep(rec);
    }
    if (list->Eier()) {
        for (int i = 0; i < before; ++i)
            if (!kept[static_cast<std::size_t>(i)])
                delete all[static_cast<std::size_t>(i)];
    }
    list->AktiverForste();

    const int left = list->Antall();
    const int errors = before - repeats - left;
    pointsRead += before;
    duplicates += repeats;
    measuredErrors += errors;
    pointsDeleted += repeats + errors;
    pointsAnalyzed += left;
    pointsUnplaced += findings.unplaced;
    rigel::Trace("[CvMeasurePointSort::Sort] %d read, %d repeats, %d isolated, %d after a one-way "
                 "link, %d in short pieces put in, %d turning off an end, %d pieces joined, %d not "
                 "placed, %d searches by the scan\n",
                 before, repeats, findings.isolated, findings.linkErrors, findings.shortPieces,
                 findings.turnedEnds, findings.pieces, findings.unplaced, findings.scanFallbacks);

    if (showReport)
        AfxMessageBox(ReportText().c_str(), MB_OK);
    return 1;
}

void CvMeasurePointSort::ContinueWith(const CvMeasurePointSort& next) {
    pointsRead += next.pointsRead;
    pointsDeleted += next.pointsDeleted;
    duplicates += next.duplicates;
    measuredErrors += next.measuredErrors;
    pointsAnalyzed += next.pointsAnalyzed;
    pointsUnplaced += next.pointsUnplaced;
    findings = next.findings;
    list = next.list;
    lastIndex = next.lastIndex;
    walked = next.walked;
    ErrorKode(next.ErrorKode());
}

std::string rigel::SortReportText(int read, int deleted, int duplicates, int errors, int analyzed) {
    std::string text = "Sorting measured points:";
    text += rigel::Format("\n\n%d points read.", read);
    text += rigel::Format("\n\n%d points deleted:", deleted);
    text += rigel::Format("\n     %d points were duplicates.", duplicates);
    text += rigel::Format("\n     %d points assumed as measured errors.", errors);
    text += rigel::Format("\n\n%d points will be analyzed.", analyzed);
    return text;
}

std::string CvMeasurePointSort::ReportText() const {
    return rigel::SortReportText(pointsRead, pointsDeleted, duplicates, measuredErrors,
                                 pointsAnalyzed);
}

void CvMeasurePointSort::GetQuickSortStatus(int* read, int* deleted, int* duplicatesOut,
                                            int* errors, int* analyzed) const {
    if (read)
        *read = pointsRead;
    if (deleted)
        *deleted = pointsDeleted;
    if (duplicatesOut)
        *duplicatesOut = duplicates;
    if (errors)
        *errors = measuredErrors;
    if (analyzed)
        *analyzed = pointsAnalyzed;
}
