// Half the drawn image, half the second image.
uniform sampler2D base;
uniform sampler2D second;

void main()
{
    vec4 first = texture2D(base, gl_TexCoord[0].st);
    vec4 other = texture2D(second, gl_TexCoord[1].st);
    gl_FragColor = vec4(mix(first.rgb, other.rgb, 0.5), 1.0);
}
