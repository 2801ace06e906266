#include "toolkit/later_calls.h"

namespace {

template <typename Call>
Call kernelCall(const char* name) {
    return reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name)));
}

}  // namespace

GetInfoByHandleExCall getFileInformationByHandleEx() {
    static const auto call = kernelCall<GetInfoByHandleExCall>("GetFileInformationByHandleEx");
    return call;
}

SetInfoByHandleCall setFileInformationByHandle() {
    static const auto call = kernelCall<SetInfoByHandleCall>("SetFileInformationByHandle");
    return call;
}

FinalPathNameCall getFinalPathNameByHandle() {
    static const auto call = kernelCall<FinalPathNameCall>("GetFinalPathNameByHandleW");
    return call;
}
