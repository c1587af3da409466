# nlohmann/json (Debian's nlohmann-json3-dev) as the target nlohmann_json::nlohmann_json.
# It is header-only, so the Windows cross-build takes the same headers: through a folder that
# holds nothing but them, because the rest of /usr/include is no Windows header.
if(CMAKE_CROSSCOMPILING)
  find_path(ZR4700_NLOHMANN_JSON_ROOT nlohmann/json.hpp PATHS /usr/include
            NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  set(zr4700_json_include ${CMAKE_BINARY_DIR}/nlohmann-json-include)
  file(MAKE_DIRECTORY ${zr4700_json_include})
  if(NOT EXISTS ${zr4700_json_include}/nlohmann)
    file(CREATE_LINK ${ZR4700_NLOHMANN_JSON_ROOT}/nlohmann ${zr4700_json_include}/nlohmann SYMBOLIC)
  endif()
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
  target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${zr4700_json_include})
else()
  find_package(nlohmann_json 3.11 REQUIRED)
endif()
