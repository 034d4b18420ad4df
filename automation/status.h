#pragma once

#include <cstdint>

// Status codes of the automation layer. Names and values are COM's, so that
// the Windows bridge can pass them through unchanged.
namespace varnex::automation {

using HResult = std::int32_t;

constexpr HResult MakeHResult(std::uint32_t value) { return static_cast<HResult>(value); }

inline constexpr HResult S_OK = 0;
inline constexpr HResult S_FALSE = 1;
inline constexpr HResult E_NOTIMPL = MakeHResult(0x80004001);
inline constexpr HResult E_NOINTERFACE = MakeHResult(0x80004002);
inline constexpr HResult E_POINTER = MakeHResult(0x80004003);
inline constexpr HResult E_FAIL = MakeHResult(0x80004005);
inline constexpr HResult E_UNEXPECTED = MakeHResult(0x8000FFFF);
inline constexpr HResult E_OUTOFMEMORY = MakeHResult(0x8007000E);
inline constexpr HResult E_INVALIDARG = MakeHResult(0x80070057);
inline constexpr HResult DISP_E_UNKNOWNINTERFACE = MakeHResult(0x80020001);
inline constexpr HResult DISP_E_MEMBERNOTFOUND = MakeHResult(0x80020003);
inline constexpr HResult DISP_E_PARAMNOTFOUND = MakeHResult(0x80020004);
inline constexpr HResult DISP_E_TYPEMISMATCH = MakeHResult(0x80020005);
inline constexpr HResult DISP_E_UNKNOWNNAME = MakeHResult(0x80020006);
inline constexpr HResult DISP_E_NONAMEDARGS = MakeHResult(0x80020007);
inline constexpr HResult DISP_E_BADVARTYPE = MakeHResult(0x80020008);
inline constexpr HResult DISP_E_EXCEPTION = MakeHResult(0x80020009);
inline constexpr HResult DISP_E_OVERFLOW = MakeHResult(0x8002000A);
inline constexpr HResult DISP_E_BADINDEX = MakeHResult(0x8002000B);
inline constexpr HResult DISP_E_UNKNOWNLCID = MakeHResult(0x8002000C);
inline constexpr HResult DISP_E_BADPARAMCOUNT = MakeHResult(0x8002000E);
inline constexpr HResult DISP_E_PARAMNOTOPTIONAL = MakeHResult(0x8002000F);
inline constexpr HResult REGDB_E_CLASSNOTREG = MakeHResult(0x80040154);
inline constexpr HResult CO_E_CLASSSTRING = MakeHResult(0x800401F3);
inline constexpr HResult CO_E_SERVER_EXEC_FAILURE = MakeHResult(0x80080005);
inline constexpr HResult RPC_E_DISCONNECTED = MakeHResult(0x80010108);

inline constexpr bool Succeeded(HResult hr) { return hr >= 0; }
inline constexpr bool Failed(HResult hr) { return hr < 0; }

}  // namespace varnex::automation
