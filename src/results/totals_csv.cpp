#include "results/totals_csv.h"

#include "results/space_page.h"
#include "toolkit/local_date.h"

CsvText folderSizesCsv(const SearchResults& results) {
    CsvText csv(L"Folder,On disk in bytes,Size in bytes,Files,Folders,Latest change");
    const SpaceTotals& totals = results.totals;
    for (uint32_t folder : totals.countedFolders()) {
        const FolderFigures& figures = totals.figures(folder);
        csv.field(shownFolderPath(results, folder)).field(figures.onDisk).field(figures.size).field(figures.files);
        csv.field(figures.folders).field(LocalTimeText(figures.latestChange));
        csv.endLine();
    }
    return csv;
}

CsvText fileKindsCsv(const SpaceTotals& totals) {
    CsvText csv(L"Kind,On disk in bytes,Size in bytes,Files");
    for (const KindFigures& kind : totals.kinds()) {
        csv.field(kind.kind).field(kind.onDisk).field(kind.size).field(kind.files);
        csv.endLine();
    }
    return csv;
}
