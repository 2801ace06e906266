#include "results/totals_csv.h"

#include "results/list_csv.h"
#include "results/space_page.h"
#include "toolkit/local_date.h"
#include "toolkit/text.h"

std::string folderSizesCsv(const SearchResults& results) {
    std::wstring text = L"Folder,On disk in bytes,Size in bytes,Files,Folders,Latest change\r\n";
    const SpaceTotals& totals = results.totals;
    for (uint32_t folder : totals.countedFolders()) {
        const FolderFigures& figures = totals.figures(folder);
        text += csvField(shownFolderPath(results, folder)) + L"," + TextFromInteger(figures.onDisk) + L"," +
                TextFromInteger(figures.size) + L"," + TextFromInteger(figures.files) + L"," +
                TextFromInteger(figures.folders) + L"," + LocalTimeText(figures.latestChange) + L"\r\n";
    }
    return csvFile(text);
}

std::string fileKindsCsv(const SpaceTotals& totals) {
    std::wstring text = L"Kind,On disk in bytes,Size in bytes,Files\r\n";
    for (const KindFigures& kind : totals.kinds())
        text += csvField(kind.kind) + L"," + TextFromInteger(kind.onDisk) + L"," + TextFromInteger(kind.size) + L"," +
                TextFromInteger(kind.files) + L"\r\n";
    return csvFile(text);
}
