#include "points/CvMeasurePointSort.h"

#include "platform/base/DT_Double.h"
#include "platform/base/HugePages.h"
#include "platform/base/TextFormat.h"
#include "platform/host/HostUi.h"
#include "points/NeighbourSearch.h"
#include "points/StableSort.h"

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

void CvMeasurePointSort::LinkNeighbours(std::vector<Record>& records) const {
    std::vector<double> xs, ys;
    std::vector<char> excluded;
    rigel::AssignLarge(xs, records.size());
    rigel::AssignLarge(ys, records.size());
    rigel::AssignLarge(excluded, records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        xs[i] = records[i].x;
        ys[i] = records[i].y;
        excluded[i] = records[i].error ? 1 : 0;
    }
    const rigel::NeighbourSearch search(xs, ys, excluded);
    const int n = static_cast<int>(records.size());
    for (int r = 0; r < n; ++r) {
        if (records[r].error)
            continue;
        const auto found = search.Nearest(r, records[r].nearestDistance);
        if (found.index >= 0) {
            records[r].nearest = found.index;
            records[r].nearestDistance = found.distance;
        }
    }
    for (int r = 0; r < n; ++r) {
        Record& rec = records[r];
        if (rec.error)
            continue;
        const auto found = rec.nearest >= 0 ? search.Opposite(r, rec.nearest, rec.oppositeDistance)
                                            : search.Nearest(r, rec.oppositeDistance);
        if (found.index >= 0) {
            rec.opposite = found.index;
            rec.oppositeDistance = found.distance;
        }
    }
}

bool CvMeasurePointSort::Walk(std::vector<Record>& records, std::vector<int>& order,
                              std::size_t slots) {
    walked = 0;
    const int n = static_cast<int>(records.size());
    int start = -1;
    for (int r = 0; r < n && start < 0; ++r)
        if (!records[r].error && (records[r].nearest < 0 || records[r].opposite < 0))
            start = r;
    if (start < 0) {
        double greatest = -1.0;
        for (int r = 0; r < n; ++r) {
            if (!records[r].error && records[r].oppositeDistance > greatest) {
                greatest = records[r].oppositeDistance;
                start = r;
            }
        }
    }
    order.assign(slots, -1);
    int cur = start;
    int prev = -1;
    std::size_t w = 0;
    const std::size_t maxSteps = 16 * slots + 64;
    for (std::size_t steps = 0;
         cur >= 0 && w < slots && !records[cur].visited && !records[cur].error && steps < maxSteps;
         ++steps) {
        ++walked;
        records[cur].visited = true;
        order[w] = cur;

        const int a = records[cur].nearest;
        const int b = records[cur].opposite;
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
            if (next == start || walked >= lastIndex)
                break;
            // Turn back: un-visit cur and the chain of visited records behind it, away from the
            // turning record, and write them again from cur onwards.
            records[cur].visited = false;
            int undone = 1;
            int y = records[cur].nearest != turning ? records[cur].nearest : records[cur].opposite;
            while (y >= 0 && records[y].visited && undone < walked) {
                records[y].visited = false;
                ++undone;
                const int yn = records[y].nearest;
                const int yo = records[y].opposite;
                y = (yn >= 0 && records[yn].visited)   ? yn
                    : (yo >= 0 && records[yo].visited) ? yo
                                                       : -1;
            }
            w = w + 1 - static_cast<std::size_t>(undone);
            walked -= undone;
            prev = turning;
            continue;
        }
        if (next >= 0 && (code == 16 || code == 32))
            return true;
        prev = cur;
        cur = next;
        ++w;
    }
    return false;
}

void CvMeasurePointSort::MarkMeasuringErrors(std::vector<Record>& records) {
    std::vector<int> named;
    rigel::AssignLarge(named, records.size());
    for (const Record& r : records) {
        if (r.nearest >= 0)
            ++named[static_cast<std::size_t>(r.nearest)];
        if (r.opposite >= 0 && r.opposite != r.nearest)
            ++named[static_cast<std::size_t>(r.opposite)];
    }
    for (std::size_t i = 0; i < records.size(); ++i) {
        Record& r = records[i];
        r.error = r.nearest >= 0 && r.opposite >= 0 && named[i] < 2;
        r.nearest = r.opposite = -1;
        r.nearestDistance = r.oppositeDistance = kNoDistance;
        r.visited = false;
    }
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
        pointsRead = pointsDeleted = duplicates = measuredErrors = pointsAnalyzed = 0;

    const int before = list->Antall();
    std::vector<PresortKey> keys;
    std::vector<Record> records;
    std::vector<int> order;
    std::vector<char> placed;
    try {
        if (Presort(1, keys) != 1)
            return ErrorKode();
        rigel::ReserveLarge(records, static_cast<std::size_t>(before));
        rigel::ReserveLarge(order, static_cast<std::size_t>(before));
        rigel::AssignLarge(placed, static_cast<std::size_t>(before));
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

    LinkNeighbours(records);
    if (Walk(records, order, static_cast<std::size_t>(before))) {
        MarkMeasuringErrors(records);
        LinkNeighbours(records);
        Walk(records, order, static_cast<std::size_t>(before));
    }

    // The walked records' points, in walk order and each once, make the new list; every other
    // point (repeats and points not placed) is deleted.
    std::vector<HovedObjekt*> all;
    rigel::ReserveLarge(all, static_cast<std::size_t>(before));
    for (int i = 0; i < before; ++i)
        all.push_back(list->Objekt(i));
    list->SlettAlleIListen(0);
    list->Reserve(static_cast<std::size_t>(walked));
    for (int slot = 0; slot < walked; ++slot) {
        const int r = order[static_cast<std::size_t>(slot)];
        if (r < 0)
            continue;
        const Record& rec = records[static_cast<std::size_t>(r)];
        if (placed[static_cast<std::size_t>(rec.listIndex)])
            continue;
        placed[static_cast<std::size_t>(rec.listIndex)] = 1;
        CvSporopPoint* p = rec.point;
        std::string code = std::move(p->code);
        std::string description = std::move(p->description);
        if (code.size() > kMaxText)
            code.resize(kMaxText);
        if (description.size() > kMaxText)
            description.resize(kMaxText);
        p->Reset(DT_Punkt(rec.x, rec.y, rec.z), p->cant, std::move(code), std::move(description));
        list->LeggTil(p);
    }
    if (list->Eier()) {
        for (int i = 0; i < before; ++i)
            if (!placed[static_cast<std::size_t>(i)])
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
    list = next.list;
    lastIndex = next.lastIndex;
    walked = next.walked;
    ErrorKode(next.ErrorKode());
}

std::string CvMeasurePointSort::ReportText() const {
    std::string text = "Sorting measured points:";
    text += rigel::Format("\n\n%d points read.", pointsRead);
    text += rigel::Format("\n\n%d points deleted:", pointsDeleted);
    text += rigel::Format("\n     %d points were duplicates.", duplicates);
    text += rigel::Format("\n     %d points assumed as measured errors.", measuredErrors);
    text += rigel::Format("\n\n%d points will be analyzed.", pointsAnalyzed);
    return text;
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
