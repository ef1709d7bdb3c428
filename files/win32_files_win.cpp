#include "files/win32_files_win.h"

#include <windows.h>
#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>
#include <mscat.h>

#include <algorithm>
#include <type_traits>
#include <vector>

#include "base/owned_win.h"
#include "base/system_library_win.h"
#include "base/wide_win.h"
#include "files/examine.h"

namespace brv {

namespace {

using FileHandle = Owned<HANDLE, &CloseHandle>;

// No "insert a disk" box from the system while a path on a removable drive is
// looked at, for as long as this lives.
class QuietErrors {
 public:
  QuietErrors() { SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &old_); }
  QuietErrors(const QuietErrors&) = delete;
  QuietErrors& operator=(const QuietErrors&) = delete;
  ~QuietErrors() { SetThreadErrorMode(old_, nullptr); }

 private:
  DWORD old_ = 0;
};

// The path as the Unicode functions take it; a long one in its "\\?\" form,
// which the system takes up to 32,767 characters.
std::wstring WidePath(const std::string& path) {
  std::wstring wide = ToWide(path);
  if (wide.size() >= MAX_PATH - 12 && wide.size() >= 3 && wide[1] == L':' && wide[2] == L'\\') {
    wide = L"\\\\?\\" + wide;
  }
  return wide;
}

bool OnNetworkDrive(const std::string& path) {
  if (path.size() < 2 || path[1] != ':') return false;
  const wchar_t root[] = {static_cast<wchar_t>(path[0]), L':', L'\\', L'\0'};
  return GetDriveTypeW(root) == DRIVE_REMOTE;
}

// Opens a disk file for reading, shared with every other reader and writer.
// Anything else the name leads to (a device, a pipe) is closed unread.
HANDLE OpenShared(const std::string& path, DWORD* error) {
  *error = ERROR_SUCCESS;
  if (path.find('\0') != std::string::npos) {
    *error = ERROR_INVALID_NAME;
    return INVALID_HANDLE_VALUE;
  }
  QuietErrors quiet;
  HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    *error = GetLastError();
  } else if (GetFileType(file) != FILE_TYPE_DISK) {
    CloseHandle(file);
    *error = ERROR_ACCESS_DENIED;
    file = INVALID_HANDLE_VALUE;
  }
  return file;
}

class Win32FileData : public FileData {
 public:
  explicit Win32FileData(HANDLE file) : file_(file) {}
  uint64_t Size() override {
    LARGE_INTEGER size;
    return GetFileSizeEx(file_.Get(), &size) ? static_cast<uint64_t>(size.QuadPart) : 0;
  }
  bool Read(uint64_t offset, size_t size, std::string* bytes) override {
    if (size > 0x7FFFFFFF) return false;
    bytes->assign(size, '\0');
    OVERLAPPED at = {};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD read = 0;
    return ReadFile(file_.Get(), bytes->data(), static_cast<DWORD>(size), &read, &at) &&
           read == size;
  }

 private:
  FileHandle file_;
};

using AcquireContext2Fn = BOOL(WINAPI*)(HCATADMIN*, const GUID*, PCWSTR, PCCERT_STRONG_SIGN_PARA,
                                        DWORD);
using CalcHash2Fn = BOOL(WINAPI*)(HCATADMIN, HANDLE, DWORD*, BYTE*, DWORD);

// The signature functions, whose libraries are loaded when the first
// signature is checked.
struct TrustApi {
  decltype(&WinVerifyTrust) verify = nullptr;
  decltype(&WTHelperProvDataFromStateData) providerData = nullptr;
  decltype(&WTHelperGetProvSignerFromChain) signerOf = nullptr;
  decltype(&WTHelperGetProvCertFromChain) certificateOf = nullptr;
  decltype(&CertGetNameStringW) nameOf = nullptr;
  decltype(&CryptCATAdminAcquireContext) acquire = nullptr;
  decltype(&CryptCATAdminCalcHashFromFileHandle) hash = nullptr;
  decltype(&CryptCATAdminEnumCatalogFromHash) catalogueOf = nullptr;
  decltype(&CryptCATCatalogInfoFromContext) catalogueInfo = nullptr;
  decltype(&CryptCATAdminReleaseCatalogContext) releaseCatalogue = nullptr;
  decltype(&CryptCATAdminReleaseContext) release = nullptr;
  // Windows 8 on: catalogues by SHA-256.
  AcquireContext2Fn acquire2 = nullptr;
  CalcHash2Fn hash2 = nullptr;

  bool CanVerify() const { return verify && providerData && signerOf && certificateOf && nameOf; }
  bool CanSearchCatalogues() const {
    return acquire && hash && catalogueOf && catalogueInfo && releaseCatalogue && release;
  }
};

// Loaded once, for the life of the process.
const TrustApi& Trust() {
  static const TrustApi api = [] {
    TrustApi loaded;
    HMODULE wintrust = LoadSystemLibrary(L"wintrust.dll");
    HMODULE crypt32 = LoadSystemLibrary(L"crypt32.dll");
    auto find = [](auto* function, HMODULE library, const char* name) {
      *function = FindFunction<std::remove_pointer_t<decltype(function)>>(library, name);
    };
    find(&loaded.verify, wintrust, "WinVerifyTrust");
    find(&loaded.providerData, wintrust, "WTHelperProvDataFromStateData");
    find(&loaded.signerOf, wintrust, "WTHelperGetProvSignerFromChain");
    find(&loaded.certificateOf, wintrust, "WTHelperGetProvCertFromChain");
    find(&loaded.nameOf, crypt32, "CertGetNameStringW");
    find(&loaded.acquire, wintrust, "CryptCATAdminAcquireContext");
    find(&loaded.hash, wintrust, "CryptCATAdminCalcHashFromFileHandle");
    find(&loaded.catalogueOf, wintrust, "CryptCATAdminEnumCatalogFromHash");
    find(&loaded.catalogueInfo, wintrust, "CryptCATCatalogInfoFromContext");
    find(&loaded.releaseCatalogue, wintrust, "CryptCATAdminReleaseCatalogContext");
    find(&loaded.release, wintrust, "CryptCATAdminReleaseContext");
    find(&loaded.acquire2, wintrust, "CryptCATAdminAcquireContext2");
    find(&loaded.hash2, wintrust, "CryptCATAdminCalcHashFromFileHandle2");
    return loaded;
  }();
  return api;
}

// Asks WinVerifyTrust about a file or a catalogue member, with no user
// interface, no revocation check and no network retrieval, and reads the
// signer and the chain's own trust status before the state is released.
// (Under Wine the call accepts a chain that ends at an untrusted root; the
// chain's status says so on both systems.)
Signature AskWinVerifyTrust(WINTRUST_DATA* data) {
  const TrustApi& trust = Trust();
  if (!trust.CanVerify()) return {SignatureState::Unchecked, {}, false};
  GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
  data->cbStruct = sizeof(*data);
  data->dwUIChoice = WTD_UI_NONE;
  data->fdwRevocationChecks = WTD_REVOKE_NONE;
  data->dwProvFlags = WTD_REVOCATION_CHECK_NONE | WTD_CACHE_ONLY_URL_RETRIEVAL;
  data->dwStateAction = WTD_STATEACTION_VERIFY;
  const LONG status = trust.verify(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, data);
  const DWORD lastError = GetLastError();
  Signature signature;
  DWORD chainErrors = CERT_TRUST_IS_UNTRUSTED_ROOT;
  bool haveSigner = false;
  if (CRYPT_PROVIDER_DATA* provider = trust.providerData(data->hWVTStateData)) {
    CRYPT_PROVIDER_SGNR* signer = trust.signerOf(provider, 0, FALSE, 0);
    CRYPT_PROVIDER_CERT* cert = signer ? trust.certificateOf(signer, 0) : nullptr;
    if (cert && cert->pCert) {
      wchar_t name[256] = {};
      trust.nameOf(cert->pCert, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, name, 256);
      signature.signer = FromWide(name, wcslen(name));
      haveSigner = true;
    }
    if (signer && signer->pChainContext) {
      chainErrors = signer->pChainContext->TrustStatus.dwErrorStatus;
    }
  }
  data->dwStateAction = WTD_STATEACTION_CLOSE;
  trust.verify(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, data);

  const DWORD untrusted = CERT_TRUST_IS_UNTRUSTED_ROOT | CERT_TRUST_IS_PARTIAL_CHAIN |
                          CERT_TRUST_IS_NOT_SIGNATURE_VALID | CERT_TRUST_IS_REVOKED |
                          CERT_TRUST_IS_EXPLICIT_DISTRUST | CERT_TRUST_IS_CYCLIC;
  switch (static_cast<HRESULT>(status)) {
    case ERROR_SUCCESS:
    case CERT_E_UNTRUSTEDROOT:
    case CERT_E_CHAINING:
    case CERT_E_EXPIRED:
    case CERT_E_UNTRUSTEDTESTROOT:
    case TRUST_E_EXPLICIT_DISTRUST:
      // The file matches its signature; whether the chain is trusted is
      // another matter.
      signature.state = haveSigner ? SignatureState::Valid : SignatureState::Unchecked;
      signature.trusted = status == ERROR_SUCCESS && (chainErrors & untrusted) == 0;
      break;
    case TRUST_E_NOSIGNATURE:
      // No signature at all, unless the reason given is another: then one
      // was there and could not be read.
      signature.state = lastError == static_cast<DWORD>(TRUST_E_NOSIGNATURE) ||
                                lastError == static_cast<DWORD>(TRUST_E_SUBJECT_FORM_UNKNOWN) ||
                                lastError == static_cast<DWORD>(TRUST_E_PROVIDER_UNKNOWN)
                            ? SignatureState::Unsigned
                            : SignatureState::NotValid;
      break;
    case TRUST_E_SUBJECT_FORM_UNKNOWN:
    case TRUST_E_PROVIDER_UNKNOWN:
      signature.state = SignatureState::Unsigned;
      break;
    default:
      // The security and certificate facilities' errors are verdicts on the
      // signature; any other says the check itself failed.
      signature.state =
          HRESULT_FACILITY(status) == FACILITY_SECURITY || HRESULT_FACILITY(status) == FACILITY_CERT
              ? SignatureState::NotValid
              : SignatureState::Unchecked;
      break;
  }
  if (signature.state != SignatureState::Valid) signature.signer.clear();
  return signature;
}

// The signature of the system catalogue that lists the file's hash, if one
// does: by SHA-256 where the system has it (Windows 8 on), else by SHA-1.
Signature CatalogueSignature(HANDLE file, const std::wstring& path) {
  const TrustApi& trust = Trust();
  if (!trust.CanSearchCatalogues()) return {};
  for (int round = 0; round < 2; ++round) {
    const bool sha256 = round == 0;
    if (sha256 && (!trust.acquire2 || !trust.hash2)) continue;
    HCATADMIN admin = nullptr;
    if (!(sha256 ? trust.acquire2(&admin, nullptr, L"SHA256", nullptr, 0)
                 : trust.acquire(&admin, nullptr, 0))) {
      continue;
    }
    BYTE hash[64];
    DWORD size = sizeof(hash);
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    const BOOL hashed =
        sha256 ? trust.hash2(admin, file, &size, hash, 0) : trust.hash(file, &size, hash, 0);
    HCATINFO catalogue = hashed ? trust.catalogueOf(admin, hash, size, 0, nullptr) : nullptr;
    Signature signature;
    CATALOG_INFO info = {};
    info.cbStruct = sizeof(info);
    if (catalogue && trust.catalogueInfo(catalogue, &info, 0)) {
      std::wstring tag;
      const wchar_t digits[] = L"0123456789ABCDEF";
      for (DWORD i = 0; i < size; ++i) {
        tag += digits[hash[i] >> 4];
        tag += digits[hash[i] & 15];
      }
      WINTRUST_CATALOG_INFO member = {};
      member.cbStruct = sizeof(member);
      member.pcwszCatalogFilePath = info.wszCatalogFile;
      member.pcwszMemberFilePath = path.c_str();
      member.pcwszMemberTag = tag.c_str();
      member.hMemberFile = file;
      member.pbCalculatedFileHash = hash;
      member.cbCalculatedFileHash = size;
      WINTRUST_DATA data = {};
      data.dwUnionChoice = WTD_CHOICE_CATALOG;
      data.pCatalog = &member;
      signature = AskWinVerifyTrust(&data);
    }
    if (catalogue) trust.releaseCatalogue(admin, catalogue, 0);
    trust.release(admin, 0);
    if (signature.state == SignatureState::Valid) return signature;
  }
  return {};
}

// The full path of a path as the user gives it (relative to the current
// folder, with "." and ".."); empty where the system cannot make one.
std::string FullPath(const std::string& path) {
  const std::wstring wide = ToWide(path);
  std::wstring full(MAX_PATH, L'\0');
  for (int attempt = 0; attempt < 3; ++attempt) {
    const DWORD length =
        GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) return std::string();
    if (length < full.size()) return FromWide(full.data(), length);
    full.resize(length);
  }
  return std::string();
}

// Writes all the bytes to a new file and flushes them to the disk; `made`
// tells whether the file was made.
long WriteNewFile(const std::wstring& path, const std::string& bytes, bool* made) {
  FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  *made = file.Valid();
  if (!file.Valid()) return static_cast<long>(GetLastError());
  for (size_t at = 0; at < bytes.size();) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - at, 1 << 20));
    DWORD written = 0;
    if (!WriteFile(file.Get(), bytes.data() + at, chunk, &written, nullptr) || written == 0) {
      return static_cast<long>(GetLastError());
    }
    at += written;
  }
  if (!FlushFileBuffers(file.Get())) return static_cast<long>(GetLastError());
  return ERROR_SUCCESS;
}

}  // namespace

long Win32Files::WriteWhole(const std::string& path, const std::string& bytes) {
  if (path.empty() || path.find('\0') != std::string::npos) return ERROR_INVALID_NAME;
  if (IsNetworkPath(path) || OnNetworkDrive(path)) return ERROR_NOT_SUPPORTED;
  // The name as given: making the full path would drop a trailing dot or
  // space, and so name another file.
  const size_t given = path.find_last_of("\\/");
  if (!IsValidFileName(given == std::string::npos ? path : path.substr(given + 1))) {
    return ERROR_INVALID_NAME;
  }
  const std::string full = FullPath(path);
  if (full.empty()) return ERROR_INVALID_NAME;
  if (IsNetworkPath(full) || OnNetworkDrive(full)) return ERROR_NOT_SUPPORTED;
  const size_t slash = full.rfind('\\');
  if (slash == std::string::npos || !IsValidFileName(full.substr(slash + 1))) {
    return ERROR_INVALID_NAME;
  }
  QuietErrors quiet;
  const std::wstring target = WidePath(full);
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return ERROR_ACCESS_DENIED;
  }
  // A short name of its own beside the target, so that the replace stays on
  // one disk and a long target name still leaves room for it.
  static volatile LONG counter = 0;
  const std::string temporary = full.substr(0, slash) + "\\~brv" +
                                std::to_string(GetCurrentProcessId()) + "-" +
                                std::to_string(InterlockedIncrement(&counter)) + ".tmp";
  const std::wstring wideTemporary = WidePath(temporary);
  bool made = false;
  long r = WriteNewFile(wideTemporary, bytes, &made);
  if (r == ERROR_SUCCESS && !MoveFileExW(wideTemporary.c_str(), target.c_str(),
                                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    r = static_cast<long>(GetLastError());
  }
  if (r != ERROR_SUCCESS && made) DeleteFileW(wideTemporary.c_str());
  return r;
}

FileKind Win32Files::Kind(const std::string& path) {
  if (IsNetworkPath(path) || OnNetworkDrive(path)) return FileKind::Network;
  if (path.find('\0') != std::string::npos) return FileKind::Missing;
  QuietErrors quiet;
  const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return FileKind::Missing;
  return attributes & FILE_ATTRIBUTE_DIRECTORY ? FileKind::Directory : FileKind::File;
}

long Win32Files::Open(const std::string& path, std::unique_ptr<FileData>* data) {
  if (Kind(path) == FileKind::Network) return ERROR_ACCESS_DENIED;
  DWORD error = ERROR_SUCCESS;
  HANDLE file = OpenShared(path, &error);
  if (error == ERROR_SUCCESS) *data = std::make_unique<Win32FileData>(file);
  return static_cast<long>(error);
}

Signature Win32Files::Verify(const std::string& path) {
  if (Kind(path) == FileKind::Network) return {SignatureState::Unreadable, {}, false};
  DWORD error = ERROR_SUCCESS;
  FileHandle file(OpenShared(path, &error));
  if (!file.Valid()) return {SignatureState::Unreadable, {}, false};
  const std::wstring wide = WidePath(path);
  WINTRUST_FILE_INFO info = {};
  info.cbStruct = sizeof(info);
  info.pcwszFilePath = wide.c_str();
  info.hFile = file.Get();
  WINTRUST_DATA data = {};
  data.dwUnionChoice = WTD_CHOICE_FILE;
  data.pFile = &info;
  Signature signature = AskWinVerifyTrust(&data);
  if (signature.state == SignatureState::Unsigned) {
    Signature listed = CatalogueSignature(file.Get(), wide);
    if (listed.state == SignatureState::Valid) signature = listed;
  }
  return signature;
}

std::optional<std::string> Win32Files::Environment(const std::string& name) {
  if (name.empty() || name.find('\0') != std::string::npos || name.find('=') != std::string::npos) {
    return std::nullopt;
  }
  const std::wstring wide = ToWide(name);
  std::vector<wchar_t> value(256);
  for (int attempt = 0; attempt < 3; ++attempt) {
    SetLastError(ERROR_SUCCESS);
    const DWORD length =
        GetEnvironmentVariableW(wide.c_str(), value.data(), static_cast<DWORD>(value.size()));
    if (length == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
    if (length < value.size()) return FromWide(value.data(), length);
    value.resize(length);
  }
  return std::nullopt;
}

std::string Win32Files::FolderPath(Folder folder) {
  wchar_t path[MAX_PATH + 1] = {};
  UINT length = 0;
  switch (folder) {
    case Folder::Windows:
      length = GetWindowsDirectoryW(path, MAX_PATH);
      break;
    case Folder::System:
      length = GetSystemDirectoryW(path, MAX_PATH);
      break;
    case Folder::System32Bit:
      // Fails where 32-bit programs have no folder of their own.
      length = GetSystemWow64DirectoryW(path, MAX_PATH);
      break;
  }
  return length > 0 && length <= MAX_PATH ? FromWide(path, length) : std::string();
}

}  // namespace brv
