// A test-only "d3dx10_40.dll": Wine's own D3DX10CompileFromFileA is unimplemented and aborts the
// program, so this one reads the file and compiles it with D3DCompile, which Wine implements.
// The two texture functions exist because the encoder looks them up; nothing calls them.
#include <windows.h>
// d3dcompiler.h needs windows.h first.
#include <d3dcompiler.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace {

HRESULT Report(HRESULT result, HRESULT* out) {
  if (out != nullptr) *out = result;
  return result;
}

}  // namespace

extern "C" {

__declspec(dllexport) HRESULT WINAPI
    D3DX10CompileFromFileA(LPCSTR file, const D3D_SHADER_MACRO* defines, ID3DInclude* include,
                           LPCSTR entry, LPCSTR profile, UINT flags1, UINT flags2, void* /*pump*/,
                           ID3DBlob** shader, ID3DBlob** errors, HRESULT* result) {
  if (file == nullptr || shader == nullptr) return Report(E_INVALIDARG, result);
  std::ifstream in(file, std::ios::binary);
  if (!in) return Report(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), result);
  const std::vector<char> source((std::istreambuf_iterator<char>(in)),
                                 std::istreambuf_iterator<char>());
  return Report(D3DCompile(source.data(), source.size(), file, defines, include, entry, profile,
                           flags1, flags2, shader, errors),
                result);
}

__declspec(dllexport) HRESULT WINAPI
    D3DX10CreateTextureFromFileA(void*, LPCSTR, void*, void*, void**, HRESULT* result) {
  return Report(E_NOTIMPL, result);
}

__declspec(dllexport) HRESULT WINAPI
    D3DX10CreateTextureFromMemory(void*, const void*, SIZE_T, void*, void*, void**,
                                  HRESULT* result) {
  return Report(E_NOTIMPL, result);
}

}  // extern "C"
