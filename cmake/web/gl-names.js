// The ARB and EXT entry points the drawer calls, which Emscripten's WebGL
// and legacy-GL libraries know only by their core names. Each forwards at
// call time, so that it reaches the emulation's wrapper once that is
// installed (a plain alias would keep the function from before). The
// emulation's immediate mode takes one set of texture coordinates per
// vertex: those of unit 0 go on, those of other units are dropped, so a
// second image mixed in by a shader program is not drawn on the page.
var LibraryBrickVoyagerGLNames = {
  glActiveTextureARB__deps: ['glActiveTexture'],
  glActiveTextureARB: function(texture) { _glActiveTexture(texture); },
  glMultiTexCoord2fARB__deps: ['glTexCoord2f'],
  glMultiTexCoord2fARB: function(target, s, t) {
    if (target == 0x84C0 /* GL_TEXTURE0 */) _glTexCoord2f(s, t);
  },
  glUseProgramObjectARB__deps: ['glUseProgram'],
  glUseProgramObjectARB: function(program) { _glUseProgram(program); },
  glUniform1iARB__deps: ['glUniform1i'],
  glUniform1iARB: function(location, value) { _glUniform1i(location, value); },
  glCreateShaderObjectARB__deps: ['glCreateShader'],
  glCreateShaderObjectARB: function(type) { return _glCreateShader(type); },
  glShaderSourceARB__deps: ['glShaderSource'],
  glShaderSourceARB: function(shader, count, text, length) { _glShaderSource(shader, count, text, length); },
  glCompileShaderARB__deps: ['glCompileShader'],
  glCompileShaderARB: function(shader) { _glCompileShader(shader); },
  glCreateProgramObjectARB__deps: ['glCreateProgram'],
  glCreateProgramObjectARB: function() { return _glCreateProgram(); },
  glAttachObjectARB__deps: ['glAttachShader'],
  glAttachObjectARB: function(program, shader) { _glAttachShader(program, shader); },
  glLinkProgramARB__deps: ['glLinkProgram'],
  glLinkProgramARB: function(program) { _glLinkProgram(program); },
  glGetUniformLocationARB__deps: ['glGetUniformLocation'],
  glGetUniformLocationARB: function(program, name) { return _glGetUniformLocation(program, name); },
  glGenFramebuffersEXT__deps: ['glGenFramebuffers'],
  glGenFramebuffersEXT: function(n, ids) { _glGenFramebuffers(n, ids); },
  glDeleteFramebuffersEXT__deps: ['glDeleteFramebuffers'],
  glDeleteFramebuffersEXT: function(n, ids) { _glDeleteFramebuffers(n, ids); },
  glBindFramebufferEXT__deps: ['glBindFramebuffer'],
  glBindFramebufferEXT: function(target, framebuffer) { _glBindFramebuffer(target, framebuffer); },
  glIsFramebufferEXT__deps: ['glIsFramebuffer'],
  glIsFramebufferEXT: function(framebuffer) { return _glIsFramebuffer(framebuffer); },
  glCheckFramebufferStatusEXT__deps: ['glCheckFramebufferStatus'],
  glCheckFramebufferStatusEXT: function(target) { return _glCheckFramebufferStatus(target); },
  glFramebufferTexture2DEXT__deps: ['glFramebufferTexture2D'],
  glFramebufferTexture2DEXT: function(target, attachment, textarget, texture, level) {
    _glFramebufferTexture2D(target, attachment, textarget, texture, level);
  },
  // WebGL cannot read a texture's image back. The drawer asks the driver
  // first and never calls it on the page (no video-mode change there); this
  // only lets the desktop's code link.
  glGetTexImage: function() {
    throw new Error('glGetTexImage: WebGL cannot read a texture back');
  },
};
mergeInto(LibraryManager.library, LibraryBrickVoyagerGLNames);
