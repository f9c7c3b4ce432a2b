# cmake -DSOURCE=... -DTARGET=... -P CopyIfMissing.cmake: copies SOURCE to TARGET unless TARGET
# exists, so that a user's own settings are never replaced by a build.
if(NOT EXISTS "${TARGET}")
  file(COPY_FILE "${SOURCE}" "${TARGET}")
endif()
