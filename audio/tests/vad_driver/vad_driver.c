/* Stand-in virtual audio kernel driver for tests under Wine. It answers the four shared-audio
 * property requests, keeps one section (status block page, then the data area) and maps it
 * read-only into the process that asks, below 4 GiB. Audio arrives from a feeder program through
 * private requests on the same device. Not for real Windows: buffers of METHOD_NEITHER requests
 * are used without probing, which is safe only where the I/O manager hands over copies, as
 * Wine's does. */
#include <ntifs.h>

#include "vad_journal.h"
#include "vad_property.h"
#include "vad_stream.h"

#ifndef PROCESS_VM_OPERATION /* missing from mingw's kernel headers */
#define PROCESS_VM_OPERATION 0x0008
#endif

#define VAD_POOL_TAG 0x64615656u /* "VVad" */
/* A view must end below 4 GiB: both addresses travel as 32-bit values. One zero bit keeps the
 * whole view below 2 GiB, where a 32-bit process's own address space ends too. */
#define VAD_ZERO_BITS 1

typedef struct VadClient {
  HANDLE opener_id;
  BOOLEAN mapped;
  HANDLE process_id;
  PVOID view;
  VadSharedAddresses addresses;
} VadClient;

static struct {
  KMUTEX lock;
  PDEVICE_OBJECT device;
  HANDLE section;
  PVOID view; /* the driver's own, writable view */
  VadStream stream;
  VadJournal journal;
  BOOLEAN feed_link;
  UNICODE_STRING interface_link;
} g_vad;

static UNICODE_STRING g_feed_link_name = RTL_CONSTANT_STRING(VAD_FEED_LINK_NAME);

static NTSTATUS complete(PIRP irp, NTSTATUS status, ULONG_PTR information) {
  irp->IoStatus.Status = status;
  irp->IoStatus.Information = NT_SUCCESS(status) ? information : 0;
  IoCompleteRequest(irp, IO_NO_INCREMENT);
  return status;
}

static NTSTATUS status_of(VadResult result) {
  switch (result) {
    case VAD_OK:
      return STATUS_SUCCESS;
    case VAD_BAD_FORMAT:
    case VAD_BAD_STATE:
      return STATUS_INVALID_PARAMETER;
    case VAD_PARTIAL_FRAME:
      return STATUS_INVALID_BUFFER_SIZE;
    case VAD_NO_STREAM:
    case VAD_NOT_RUNNING:
      return STATUS_INVALID_DEVICE_STATE;
  }
  return STATUS_UNSUCCESSFUL;
}

static HANDLE requestor_id(PIRP irp) {
  PEPROCESS process = IoGetRequestorProcess(irp);
  return process ? PsGetProcessId(process) : NULL;
}

/* A handle to the process that sent the request. Under Wine the dispatch routine runs in the
 * address space of winedevice.exe (even where the current process id reads as the caller's), so
 * a view for the caller goes through a handle to the caller, never the current process. */
static NTSTATUS open_requestor(PIRP irp, HANDLE* process_handle, HANDLE* process_id) {
  PEPROCESS process = IoGetRequestorProcess(irp);
  if (process == NULL) {
    DbgPrint("vqvad: IoGetRequestorProcess gave no process\n");
    return STATUS_UNSUCCESSFUL;
  }
  *process_id = PsGetProcessId(process);
  /* No type check: the object is a process by origin, and mingw's header imports PsProcessType
   * with one indirection too many. */
  NTSTATUS status = ObOpenObjectByPointer(process, OBJ_KERNEL_HANDLE, NULL, PROCESS_VM_OPERATION,
                                          NULL, KernelMode, process_handle);
  if (!NT_SUCCESS(status)) {
    DbgPrint("vqvad: ObOpenObjectByPointer(process %p) failed %#lx\n", *process_id, status);
  }
  return status;
}

static NTSTATUS map_into_requestor(PIRP irp, VadClient* client) {
  HANDLE process;
  HANDLE process_id;
  NTSTATUS status = open_requestor(irp, &process, &process_id);
  if (!NT_SUCCESS(status)) return status;
  PVOID view = NULL;
  SIZE_T view_size = 0;
  status = ZwMapViewOfSection(g_vad.section, process, &view, VAD_ZERO_BITS, 0, NULL, &view_size,
                              ViewUnmap, 0, PAGE_READONLY);
  if (!NT_SUCCESS(status)) {
    DbgPrint("vqvad: ZwMapViewOfSection into process %p failed %#lx\n", process_id, status);
  } else if ((ULONG_PTR)view + VAD_SECTION_SIZE - 1 > 0xFFFFFFFFu) {
    DbgPrint("vqvad: view %p of process %p is above 4 GiB\n", view, process_id);
    ZwUnmapViewOfSection(process, view);
    status = STATUS_CONFLICTING_ADDRESSES;
  } else {
    client->mapped = TRUE;
    client->process_id = process_id;
    client->view = view;
    client->addresses.status_block = (uint32_t)(ULONG_PTR)view;
    client->addresses.data_area = (uint32_t)((ULONG_PTR)view + VAD_STATUS_PAGE_SIZE);
    DbgPrint("vqvad: mapped into process %p at %p\n", process_id, view);
  }
  ZwClose(process);
  return status;
}

static NTSTATUS unmap_from_requestor(PIRP irp, VadClient* client) {
  HANDLE process;
  HANDLE process_id;
  NTSTATUS status = open_requestor(irp, &process, &process_id);
  if (!NT_SUCCESS(status)) return status;
  if (process_id != client->process_id) {
    status = STATUS_ACCESS_DENIED; /* the handle was passed on; the view is not this process's */
  } else {
    status = ZwUnmapViewOfSection(process, client->view);
    if (NT_SUCCESS(status)) client->mapped = FALSE;
    DbgPrint("vqvad: unmapped %p from process %p: %#lx\n", client->view, process_id, status);
  }
  ZwClose(process);
  return status;
}

static BOOLEAN same_addresses(const VadClient* client, const void* value) {
  return client->mapped && RtlCompareMemory(value, &client->addresses, sizeof client->addresses) ==
                               sizeof client->addresses;
}

static void journal(uint32_t event, HANDLE process_id, NTSTATUS status) {
  vad_journal_add(&g_vad.journal, event, (uint32_t)(ULONG_PTR)process_id, (uint32_t)status);
}

static uint32_t event_of(VadRequest request) {
  switch (request) {
    case VAD_REQUEST_QUERY:
      return VAD_EVENT_QUERY;
    case VAD_REQUEST_MAP:
      return VAD_EVENT_MAP;
    case VAD_REQUEST_CONFIRM:
      return VAD_EVENT_CONFIRM;
    case VAD_REQUEST_UNMAP:
      return VAD_EVENT_UNMAP;
    case VAD_REQUEST_BAD_SIZE:
    case VAD_REQUEST_UNKNOWN:
      break;
  }
  return VAD_EVENT_REFUSED;
}

static NTSTATUS handle_property(PIRP irp, VadClient* client, VadRequest request,
                                ULONG_PTR* information) {
  void* value = irp->UserBuffer;
  if (request != VAD_REQUEST_BAD_SIZE && request != VAD_REQUEST_UNKNOWN && value == NULL) {
    return STATUS_INVALID_USER_BUFFER;
  }
  switch (request) {
    case VAD_REQUEST_QUERY: {
      VadQueryReply* reply = value;
      if (reply->size != sizeof *reply) return STATUS_INVALID_PARAMETER;
      HANDLE process;
      HANDLE process_id;
      NTSTATUS status = open_requestor(irp, &process, &process_id);
      if (!NT_SUCCESS(status)) return status;
      ZwClose(process);
      reply->version = 1;
      reply->requestor_process_id = (uint32_t)(ULONG_PTR)process_id;
      reply->status_block_size = sizeof(VadStatusBlock);
      reply->data_area_size = VAD_DATA_AREA_SIZE;
      reply->region_size = VAD_REGION_SIZE;
      DbgPrint("vqvad: query from process %p (current process %p)\n", process_id,
               PsGetCurrentProcessId());
      *information = sizeof *reply;
      return STATUS_SUCCESS;
    }
    case VAD_REQUEST_MAP: {
      /* One view per open handle: asking again gives the same addresses, but only to the
       * process they belong to. */
      NTSTATUS status;
      if (!client->mapped) {
        status = map_into_requestor(irp, client);
      } else {
        status = requestor_id(irp) == client->process_id ? STATUS_SUCCESS : STATUS_ACCESS_DENIED;
      }
      if (!NT_SUCCESS(status)) return status;
      RtlCopyMemory(value, &client->addresses, sizeof client->addresses);
      *information = sizeof client->addresses;
      return STATUS_SUCCESS;
    }
    case VAD_REQUEST_CONFIRM:
      /* Nothing to do beyond checking that the caller holds this handle's view. */
      return same_addresses(client, value) ? STATUS_SUCCESS : STATUS_INVALID_PARAMETER;
    case VAD_REQUEST_UNMAP:
      if (!same_addresses(client, value)) return STATUS_INVALID_PARAMETER;
      return unmap_from_requestor(irp, client);
    case VAD_REQUEST_BAD_SIZE:
      return STATUS_INVALID_BUFFER_SIZE;
    case VAD_REQUEST_UNKNOWN:
      return STATUS_NOT_FOUND;
  }
  return STATUS_NOT_FOUND;
}

static NTSTATUS handle_feed(PIRP irp, PIO_STACK_LOCATION stack, ULONG_PTR* information) {
  const ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
  const ULONG in_length = stack->Parameters.DeviceIoControl.InputBufferLength;
  const ULONG out_length = stack->Parameters.DeviceIoControl.OutputBufferLength;
  void* buffer = irp->AssociatedIrp.SystemBuffer;
  if (in_length > 0 && buffer == NULL) return STATUS_INVALID_USER_BUFFER;
  switch (code) {
    case VAD_IOCTL_FEED_START: {
      if (in_length != sizeof(VadFeedStart) || out_length != sizeof(uint32_t)) {
        return STATUS_INVALID_BUFFER_SIZE;
      }
      const VadFeedStart start = *(const VadFeedStart*)buffer;
      uint32_t id = 0;
      NTSTATUS status =
          status_of(vad_stream_start(&g_vad.stream, &start.format, start.start_stamp, &id));
      if (NT_SUCCESS(status)) {
        *(uint32_t*)buffer = id;
        *information = sizeof id;
      }
      return status;
    }
    case VAD_IOCTL_FEED_WRITE:
      if (out_length != 0) return STATUS_INVALID_BUFFER_SIZE;
      return status_of(vad_stream_write(&g_vad.stream, buffer, in_length));
    case VAD_IOCTL_FEED_FORMAT:
      if (in_length != sizeof(VadWaveFormat) || out_length != 0) return STATUS_INVALID_BUFFER_SIZE;
      return status_of(vad_stream_set_format(&g_vad.stream, buffer));
    case VAD_IOCTL_FEED_STATE:
      if (in_length != sizeof(uint32_t) || out_length != 0) return STATUS_INVALID_BUFFER_SIZE;
      return status_of(vad_stream_set_state(&g_vad.stream, *(const uint32_t*)buffer));
    case VAD_IOCTL_FEED_JOURNAL:
      if (in_length != 0 || out_length < sizeof(VadJournalEntry)) return STATUS_INVALID_BUFFER_SIZE;
      *information =
          sizeof(VadJournalEntry) *
          vad_journal_copy(&g_vad.journal, buffer, out_length / (ULONG)sizeof(VadJournalEntry));
      return STATUS_SUCCESS;
  }
  return STATUS_INVALID_DEVICE_REQUEST;
}

static NTSTATUS WINAPI dispatch_control(PDEVICE_OBJECT device, PIRP irp) {
  (void)device;
  PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
  VadClient* client = stack->FileObject ? stack->FileObject->FsContext : NULL;
  ULONG_PTR information = 0;
  NTSTATUS status;
  KeWaitForSingleObject(&g_vad.lock, Executive, KernelMode, FALSE, NULL);
  if (client == NULL) {
    status = STATUS_INVALID_HANDLE;
  } else if (stack->Parameters.DeviceIoControl.IoControlCode == VAD_IOCTL_KS_PROPERTY) {
    const VadRequest request =
        vad_classify_property(stack->Parameters.DeviceIoControl.Type3InputBuffer,
                              stack->Parameters.DeviceIoControl.InputBufferLength,
                              stack->Parameters.DeviceIoControl.OutputBufferLength);
    status = handle_property(irp, client, request, &information);
    journal(event_of(request), requestor_id(irp), status);
  } else {
    status = handle_feed(irp, stack, &information);
  }
  KeReleaseMutex(&g_vad.lock, FALSE);
  return complete(irp, status, information);
}

static NTSTATUS WINAPI dispatch_create(PDEVICE_OBJECT device, PIRP irp) {
  (void)device;
  PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
  VadClient* client = ExAllocatePoolWithTag(NonPagedPool, sizeof *client, VAD_POOL_TAG);
  if (client == NULL || stack->FileObject == NULL) {
    if (client) ExFreePoolWithTag(client, VAD_POOL_TAG);
    return complete(irp, STATUS_INSUFFICIENT_RESOURCES, 0);
  }
  RtlZeroMemory(client, sizeof *client);
  /* Create runs in the opener's context (Wine reports the opener here too). */
  client->opener_id = PsGetCurrentProcessId();
  stack->FileObject->FsContext = client;
  KeWaitForSingleObject(&g_vad.lock, Executive, KernelMode, FALSE, NULL);
  journal(VAD_EVENT_OPEN, client->opener_id, STATUS_SUCCESS);
  KeReleaseMutex(&g_vad.lock, FALSE);
  return complete(irp, STATUS_SUCCESS, 0);
}

/* A handle closed without PROPID_UNMAP leaves its read-only view to the process: the close may
 * arrive after that process is gone, and it is no request of the process to map into. */
static NTSTATUS WINAPI dispatch_close(PDEVICE_OBJECT device, PIRP irp) {
  (void)device;
  PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
  if (stack->FileObject && stack->FileObject->FsContext) {
    VadClient* client = stack->FileObject->FsContext;
    if (client->mapped) DbgPrint("vqvad: handle closed with view %p still mapped\n", client->view);
    KeWaitForSingleObject(&g_vad.lock, Executive, KernelMode, FALSE, NULL);
    journal(VAD_EVENT_CLOSE, client->opener_id, STATUS_SUCCESS);
    KeReleaseMutex(&g_vad.lock, FALSE);
    ExFreePoolWithTag(client, VAD_POOL_TAG);
    stack->FileObject->FsContext = NULL;
  }
  return complete(irp, STATUS_SUCCESS, 0);
}

static void release_objects(void) {
  if (g_vad.interface_link.Buffer) {
    IoDeleteSymbolicLink(&g_vad.interface_link);
    ExFreePoolWithTag(g_vad.interface_link.Buffer, VAD_POOL_TAG);
    g_vad.interface_link.Buffer = NULL;
  }
  if (g_vad.feed_link) IoDeleteSymbolicLink(&g_feed_link_name);
  g_vad.feed_link = FALSE;
  if (g_vad.view) ZwUnmapViewOfSection(ZwCurrentProcess(), g_vad.view);
  g_vad.view = NULL;
  if (g_vad.section) ZwClose(g_vad.section);
  g_vad.section = NULL;
  if (g_vad.device) IoDeleteDevice(g_vad.device);
  g_vad.device = NULL;
}

static VOID WINAPI driver_unload(PDRIVER_OBJECT driver) {
  (void)driver;
  release_objects();
}

/* The device interface path that the installation registered is kept under the service key;
 * "\\?\x" there names the object "\??\x". */
static NTSTATUS read_interface_link(PUNICODE_STRING registry_path, PUNICODE_STRING link) {
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, registry_path, OBJ_KERNEL_HANDLE | OBJ_CASE_INSENSITIVE,
                             NULL, NULL);
  HANDLE key;
  NTSTATUS status = ZwOpenKey(&key, KEY_QUERY_VALUE, &attributes);
  if (!NT_SUCCESS(status)) return status;
  UNICODE_STRING value_name = RTL_CONSTANT_STRING(VAD_INTERFACE_LINK_VALUE);
  const ULONG info_size = sizeof(KEY_VALUE_PARTIAL_INFORMATION) + 1024 * sizeof(WCHAR);
  PKEY_VALUE_PARTIAL_INFORMATION info = ExAllocatePoolWithTag(PagedPool, info_size, VAD_POOL_TAG);
  if (info == NULL) {
    ZwClose(key);
    return STATUS_INSUFFICIENT_RESOURCES;
  }
  ULONG length = 0;
  status = ZwQueryValueKey(key, &value_name, KeyValuePartialInformation, info, info_size, &length);
  ZwClose(key);
  if (NT_SUCCESS(status) && (info->Type != REG_SZ || info->DataLength < 5 * sizeof(WCHAR))) {
    status = STATUS_OBJECT_TYPE_MISMATCH;
  }
  if (NT_SUCCESS(status)) {
    WCHAR* text = (WCHAR*)info->Data;
    USHORT chars = (USHORT)(info->DataLength / sizeof(WCHAR));
    while (chars > 0 && text[chars - 1] == L'\0') --chars;
    link->Buffer = ExAllocatePoolWithTag(PagedPool, chars * sizeof(WCHAR), VAD_POOL_TAG);
    if (link->Buffer == NULL) {
      status = STATUS_INSUFFICIENT_RESOURCES;
    } else {
      RtlCopyMemory(link->Buffer, text, chars * sizeof(WCHAR));
      if (chars > 4 && link->Buffer[0] == L'\\' && link->Buffer[1] == L'\\' &&
          link->Buffer[2] == L'?' && link->Buffer[3] == L'\\') {
        link->Buffer[1] = L'?';
      }
      link->Length = link->MaximumLength = (USHORT)(chars * sizeof(WCHAR));
    }
  }
  ExFreePoolWithTag(info, VAD_POOL_TAG);
  return status;
}

static NTSTATUS create_shared_memory(void) {
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, NULL, OBJ_KERNEL_HANDLE, NULL, NULL);
  LARGE_INTEGER size;
  size.QuadPart = VAD_SECTION_SIZE;
  NTSTATUS status = ZwCreateSection(&g_vad.section, SECTION_ALL_ACCESS, &attributes, &size,
                                    PAGE_READWRITE, SEC_COMMIT, NULL);
  if (!NT_SUCCESS(status)) {
    DbgPrint("vqvad: ZwCreateSection failed %#lx\n", status);
    return status;
  }
  SIZE_T view_size = 0;
  status = ZwMapViewOfSection(g_vad.section, ZwCurrentProcess(), &g_vad.view, 0, 0, NULL,
                              &view_size, ViewUnmap, 0, PAGE_READWRITE);
  if (!NT_SUCCESS(status)) {
    DbgPrint("vqvad: ZwMapViewOfSection for the driver failed %#lx\n", status);
    return status;
  }
  uint8_t* base = g_vad.view;
  vad_stream_init(&g_vad.stream, (VadStatusBlock*)base, base + VAD_STATUS_PAGE_SIZE);
  return STATUS_SUCCESS;
}

NTSTATUS WINAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registry_path) {
  KeInitializeMutex(&g_vad.lock, 0);
  driver->DriverUnload = driver_unload;
  driver->MajorFunction[IRP_MJ_CREATE] = dispatch_create;
  driver->MajorFunction[IRP_MJ_CLOSE] = dispatch_close;
  driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = dispatch_control;

  UNICODE_STRING device_name = RTL_CONSTANT_STRING(VAD_DEVICE_NAME);
  NTSTATUS status =
      IoCreateDevice(driver, 0, &device_name, FILE_DEVICE_KS, 0, FALSE, &g_vad.device);
  if (NT_SUCCESS(status)) status = create_shared_memory();
  if (NT_SUCCESS(status)) {
    status = IoCreateSymbolicLink(&g_feed_link_name, &device_name);
    g_vad.feed_link = NT_SUCCESS(status);
  }
  if (NT_SUCCESS(status)) status = read_interface_link(registry_path, &g_vad.interface_link);
  if (NT_SUCCESS(status)) {
    status = IoCreateSymbolicLink(&g_vad.interface_link, &device_name);
    if (!NT_SUCCESS(status)) {
      ExFreePoolWithTag(g_vad.interface_link.Buffer, VAD_POOL_TAG);
      g_vad.interface_link.Buffer = NULL;
    }
  }
  if (!NT_SUCCESS(status)) {
    DbgPrint("vqvad: start failed %#lx\n", status);
    release_objects();
    return status;
  }
  DbgPrint("vqvad: started, device linked as %.*ls\n", g_vad.interface_link.Length / 2,
           g_vad.interface_link.Buffer);
  return STATUS_SUCCESS;
}
