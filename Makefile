# Two entry points: `make run` and `make test`. Both install what is missing first.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: deps configure build run test bench clean

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/bin/Dravik

# The tests that feed outside input (PDF files, archives, contents folders, pen strokes)
# into our code run a second time under AddressSanitizer.
SANITIZED_TESTS ?= storage_pdf_libraries|storage_event_file_scan|storage_page_image_backlog|storage_project_file|storage_dialog_pdf|storage_document_import|regrouper_regrouper_test|updater_install_engine|storage_event_export|storage_export_records|platform_window_messages|platform_file_names|storage_settings_file|app_main_dlg_test|board_shape_recognizer|board_smart_figure|board_smart_pen|tools_capture_plan|collab_relay_core|collab_relay_library|collab_coll_frame|collab_dialog_reader|collab_coll_messages|updater_patchora_hostile|updater_update_session|collab_strova|app_job_snapshot|collab_dialog_session|collab_session_core|storage_contents_package|collab_dialog_discovery|collab_discovery_core|collab_pointer_replay|storage_dialog_note_export|collab_board_push|collab_senders|storage_project_load|panels_note_list_test|panels_clipart_test|tools_recording_test|editing_image_objects_test|collab_file_reception|collab_modify_receive|collab_receiver_test|tools_recorder_guard|storage_dialog_project_load|board_picture_file|collab_received_picture

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)
	@cmake -S . -B $(BUILD_DIR)-asan $(CMAKE_FLAGS) -DDRAVIK_ASAN=ON >/dev/null
	@ASAN_OPTIONS=detect_leaks=0 cmake --build $(BUILD_DIR)-asan -j $(JOBS)
	cd $(BUILD_DIR)-asan && ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure -j $(JOBS) -R '$(SANITIZED_TESTS)'

bench: deps
	@cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS) -DDRAVIK_BENCHMARKS=ON >/dev/null
	@cmake --build $(BUILD_DIR) -j $(JOBS)
	@for b in $(BUILD_DIR)/bin/*_bench; do [ -x "$$b" ] && "$$b"; done; true

clean:
	rm -rf $(BUILD_DIR) $(BUILD_DIR)-asan
