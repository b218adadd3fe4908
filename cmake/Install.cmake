# `cmake --install BUILD --prefix P`: programs in P/bin, the suite's libraries in P/lib (where the programs'
# RPATH looks), shipped data in P/share/deskwarden (where an installed `wardenctl init` finds them), and the
# tray program's desktop entry and icons where desktops look for them. Included after every folder, so that
# targets that only some trees have (the tray program, the lock screen) are known by now.

set(deskwarden_programs wardenctl voice-dialog halvox)
foreach(optional DeskWarden ScreenVeil)
    if(TARGET ${optional})
        list(APPEND deskwarden_programs ${optional})
    endif()
endforeach()
install(TARGETS ${deskwarden_programs} RUNTIME DESTINATION bin)
install(TARGETS HalvoxEngine CipherWell TalkLib LIBRARY DESTINATION lib)

set(deskwarden_share share/deskwarden)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/engine ${PROJECT_SOURCE_DIR}/data/skin ${PROJECT_SOURCE_DIR}/data/wave
    ${PROJECT_SOURCE_DIR}/data/help
    DESTINATION ${deskwarden_share})
install(FILES ${PROJECT_SOURCE_DIR}/data/vocabulary.tsv DESTINATION ${deskwarden_share})
get_target_property(deskwarden_slides deskwarden_images SLIDES_DIR)
install(DIRECTORY ${deskwarden_slides}/ DESTINATION ${deskwarden_share}/images FILES_MATCHING PATTERN "screen*.bmp")

install(FILES ${PROJECT_SOURCE_DIR}/data/deskwarden.desktop DESTINATION share/applications)
foreach(size 16 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/data/deskwarden/icon-${size}.png
        DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME deskwarden.png)
endforeach()
